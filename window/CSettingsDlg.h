// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog: six pages on tabs, "適用" to put what they show in force and save
// it, "終了" to close. Built for one modal run; nothing is in force before Apply.

#include <QDialog>
#include <vector>

#include "window/SettingsPage.h"

namespace korvane {

// What applying the dialog does to the running program: the main window.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  // Puts record in force and writes it to the settings file; the options the menu toggles
  // are the program's own, copied into record first.
  virtual void PutSettingsInForce(SettingsRecord& record) = 0;
  // Reads the settings file back as the program's settings and repaints what shows them.
  virtual void ReloadSettings() = 0;
};

class CSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  CSettingsDlg(const PageSeed& seed, SettingsTarget& target);

  // Button 1087.
  void ApplySettings();
  // 0 when the pages' settings were put in force and written; -1 when they were refused.
  int CollectAndStore();

 private:
  SettingsTarget& m_target;
  SettingsRecord m_seed;               // the record the pages were loaded from
  std::vector<SettingsPage*> m_pages;  // in tab order
};

}  // namespace korvane
