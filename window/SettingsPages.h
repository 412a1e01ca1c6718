// SPDX-License-Identifier: MIT
#pragma once
// Five pages of the settings dialog. Each builds its controls from its template and keeps
// its data in them until the dialog collects it.

#include <array>
#include <cstdint>

#include "window/SettingsPage.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {

class UpDownControl;

// What a message does while the window is iconised (tab "アイコン時").
class CPage1 : public SettingsPage {
 public:
  explicit CPage1(QWidget* parent = nullptr);
  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

 private:
  QButtonGroup* m_radioAction;
};

// The fixed phrases M1 to M5 (tab "定型文").
class CPage2 : public SettingsPage {
 public:
  explicit CPage2(QWidget* parent = nullptr);
  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

 private:
  std::array<QLineEdit*, 5> m_editPhrase;
};

// Options read only when the program starts (tab "起動時").
class CPage3 : public SettingsPage {
 public:
  explicit CPage3(QWidget* parent = nullptr);
  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Runs on a click on 1090, and from showEvent whenever Qt shows the page.
  void OnAutoLogin();

  QLineEdit* m_editName;
  QLabel* m_staticName;
  QCheckBox* m_checkAutoLogin;
  QCheckBox* m_checkIconize;
};

// The chat log (tab "ログ").
class CLogPage : public SettingsPage {
 public:
  explicit CLogPage(QWidget* parent = nullptr);
  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The logging-on state enables the file controls, and the size controls while 1100 is
  // checked; the logging-off state disables them all. Runs on a click on 1072 or 1073.
  void EnterLogState(bool on);
  // The state of the radio choice: on unless "ログをとらない" is chosen.
  void EnterChosenLogState();
  // Runs on a click on 1100, and from EnterLogState.
  void EnableSizeControls(bool enable);
  // Runs on a click on 1099.
  void OnBrowse();

  UpDownControl* m_spinSize;
  QCheckBox* m_checkSizeLimit;
  QLineEdit* m_editSize;
  QLineEdit* m_editFile;
  QLabel* m_staticFile;
  QLabel* m_staticSizeUnit;
  QPushButton* m_btnBrowse;
  QButtonGroup* m_radioLog;
};

// The colours of the message display (tab "表示色"), with a sample of the two together.
class CColorPage : public SettingsPage {
 public:
  explicit CColorPage(QWidget* parent = nullptr);
  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

 private:
  // Runs on a click on 1108 (text) or 1109 (background).
  void OnChooseColor(std::uint32_t& colour);
  void ShowSample();

  std::uint32_t m_crBack = 0;  // 0x00BBGGRR
  std::uint32_t m_crText = 0;
  QLabel* m_staticSample;
};

}  // namespace korvane
