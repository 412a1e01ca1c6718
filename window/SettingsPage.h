// SPDX-License-Identifier: MIT
#pragma once
// One page of the settings dialog: it shows its part of the options and puts it back into a
// record on Apply. Nothing a page does is in force before Apply.

#include <QWidget>
#include <cstdint>

#include "settings/SettingsRecord.h"

namespace korvane {

// What a page starts from when the dialog opens.
struct PageSeed {
  SettingsRecord record;  // the window's settings; its colours are those in force
};

class SettingsPage : public QWidget {
 public:
  using QWidget::QWidget;

  // Fills the controls; runs once, before the dialog is shown.
  virtual void Load(const PageSeed& seed) = 0;
  // Writes the page's fields of record (and no other), the texts only where the user edited
  // them; runs at every Apply.
  virtual void Store(SettingsRecord& record) const = 0;
};

}  // namespace korvane
