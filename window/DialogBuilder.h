// SPDX-License-Identifier: MIT
#pragma once
// Creates the controls of a dialog template on a widget, placed in pixels converted from
// dialog units with the dialog font's base units. Every control carries its id.

#include <QWidget>
#include <functional>
#include <map>

#include "resources/DialogTemplate.h"

namespace korvane {

class BuiltControls {
 public:
  void Add(int id, QWidget* control) { controls_[id] = control; }
  template <typename T>
  T* Get(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : qobject_cast<T*>(found->second);
  }

 private:
  std::map<int, QWidget*> controls_;
};

// makeCustom gives the widget for a control the window supplies itself (list box, list
// view), or nullptr to make the standard control of its kind.
BuiltControls BuildDialog(QWidget& parent, const DialogTemplate& dialog,
                          const std::function<QWidget*(const ControlTemplate&)>& makeCustom);

// The client size of the template in pixels.
QSize DialogPixelSize(const DialogTemplate& dialog, const QFont& font);

}  // namespace korvane
