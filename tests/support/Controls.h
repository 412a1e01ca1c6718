// SPDX-License-Identifier: MIT
#pragma once
// Finds a control of a window built from a template by the id it carries.

#include <QWidget>

#include "resources/ControlIds.h"

namespace korvane::test {

template <typename T = QWidget>
T* Control(QWidget& window, int id) {
  for (QWidget* child : window.findChildren<QWidget*>())
    if (child->property(id::kControlIdProperty).toInt() == id) return qobject_cast<T*>(child);
  return nullptr;
}

}  // namespace korvane::test
