// SPDX-License-Identifier: MIT
#include "window/SettingsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Choosers.h"
#include "platform/DialogFont.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "resources/SettingsPageTemplates.h"
#include "window/Cp932LengthValidator.h"
#include "window/DialogBuilder.h"
#include "window/UpDownControl.h"

namespace korvane {
namespace {

// Entry stops where the record's field would have no room left for its terminating zero.
template <std::size_t Width>
constexpr int FieldBytes(const char (&)[Width]) {
  return static_cast<int>(Width) - 1;
}
constexpr SettingsRecord kFieldWidths{};  // only its fields' widths are read

BuiltControls BuildPage(QWidget& page, const DialogTemplate& dialog) {
  page.setFont(DialogFont());
  page.setFixedSize(DialogPixelSize(dialog, page.font()));
  return BuildDialog(page, dialog, [](const ControlTemplate&) -> QWidget* { return nullptr; });
}

QLineEdit* LimitedField(const BuiltControls& controls, int id, int maxBytes) {
  auto* field = controls.Get<QLineEdit>(id);
  LimitToCp932(*field, maxBytes);
  return field;
}

QButtonGroup* RadioGroup(const BuiltControls& controls, int firstId) {
  return controls.Get<QAbstractButton>(firstId)->group();
}

// A choice no button stands for leaves them all clear, and is then collected as -1.
void CheckRadio(QButtonGroup& group, int choice) {
  if (QAbstractButton* button = group.button(choice)) button->setChecked(true);
}

// What is stored is shown as it stands, whatever the field's rules for entries say.
template <std::size_t Width>
void ShowField(QLineEdit& edit, const char (&field)[Width]) {
  edit.setText(ToQString(FieldText(field)));
}

// Only a field the user edited is encoded again: the record keeps the bytes of the others,
// whatever they are, even those no character stands for.
template <std::size_t Width>
void StoreField(char (&field)[Width], const QLineEdit& edit) {
  if (edit.isModified()) SetFieldText(field, ToCp932(edit.text()));
}

}  // namespace

CPage1::CPage1(QWidget* parent) : SettingsPage(parent) {
  m_radioAction = RadioGroup(BuildPage(*this, kPage1Dialog), id::page::kIconPopUp);
}

void CPage1::Load(const PageSeed& seed) { CheckRadio(*m_radioAction, seed.record.nIconAction); }

void CPage1::Store(SettingsRecord& record) const { record.nIconAction = m_radioAction->checkedId(); }

CPage2::CPage2(QWidget* parent) : SettingsPage(parent) {
  const BuiltControls controls = BuildPage(*this, kPage2Dialog);
  for (int n = 0; n < static_cast<int>(m_editPhrase.size()); ++n)
    m_editPhrase[n] = LimitedField(controls, id::page::kPhrase1 + n, FieldBytes(kFieldWidths.szPhrase[n]));
}

void CPage2::Load(const PageSeed& seed) {
  for (std::size_t n = 0; n < m_editPhrase.size(); ++n) ShowField(*m_editPhrase[n], seed.record.szPhrase[n]);
}

void CPage2::Store(SettingsRecord& record) const {
  for (std::size_t n = 0; n < m_editPhrase.size(); ++n) StoreField(record.szPhrase[n], *m_editPhrase[n]);
}

CPage3::CPage3(QWidget* parent) : SettingsPage(parent) {
  const BuiltControls controls = BuildPage(*this, kPage3Dialog);
  m_editName = LimitedField(controls, id::page::kDefaultName, FieldBytes(kFieldWidths.szDefaultName));
  m_staticName = controls.Get<QLabel>(id::page::kDefaultNameLabel);
  m_checkAutoLogin = controls.Get<QCheckBox>(id::page::kAutoLogin);
  m_checkIconize = controls.Get<QCheckBox>(id::page::kIconiseAtStart);
  connect(m_checkAutoLogin, &QCheckBox::clicked, this, &CPage3::OnAutoLogin);
}

void CPage3::Load(const PageSeed& seed) {
  m_checkIconize->setChecked(seed.record.bIconizeAtStart != 0);
  m_checkAutoLogin->setChecked(seed.record.bAutoLogin != 0);
  ShowField(*m_editName, seed.record.szDefaultName);
}

void CPage3::Store(SettingsRecord& record) const {
  record.bIconizeAtStart = m_checkIconize->isChecked() ? 1 : 0;
  record.bAutoLogin = m_checkAutoLogin->isChecked() ? 1 : 0;
  // Kept even while the field is disabled.
  StoreField(record.szDefaultName, *m_editName);
}

void CPage3::OnAutoLogin() {
  m_staticName->setEnabled(m_checkAutoLogin->isChecked());
  m_editName->setEnabled(m_checkAutoLogin->isChecked());
}

void CPage3::showEvent(QShowEvent* event) {
  SettingsPage::showEvent(event);
  OnAutoLogin();
}

CLogPage::CLogPage(QWidget* parent) : SettingsPage(parent) {
  const BuiltControls controls = BuildPage(*this, kLogPageDialog);
  m_spinSize = controls.Get<UpDownControl>(id::page::kLogSizeSpin);
  m_checkSizeLimit = controls.Get<QCheckBox>(id::page::kLogSizeLimit);
  m_editSize = LimitedField(controls, id::page::kLogSize, FieldBytes(kFieldWidths.szLogSizeKB));
  m_editFile = LimitedField(controls, id::page::kLogFile, FieldBytes(kFieldWidths.szLogFile));
  m_staticFile = controls.Get<QLabel>(id::page::kLogFileLabel);
  m_staticSizeUnit = controls.Get<QLabel>(id::page::kLogSizeUnit);
  m_btnBrowse = controls.Get<QPushButton>(id::page::kLogBrowse);
  m_radioLog = RadioGroup(controls, id::page::kLogOff);
  m_spinSize->SetRange(1, 10);
  connect(controls.Get<QAbstractButton>(id::page::kLogOff), &QAbstractButton::clicked, this,
          [this] { EnterLogState(false); });
  connect(controls.Get<QAbstractButton>(id::page::kLogOn), &QAbstractButton::clicked, this,
          [this] { EnterLogState(true); });
  connect(m_checkSizeLimit, &QCheckBox::clicked, this, &CLogPage::EnableSizeControls);
  connect(m_btnBrowse, &QPushButton::clicked, this, &CLogPage::OnBrowse);
}

void CLogPage::Load(const PageSeed& seed) {
  CheckRadio(*m_radioLog, seed.record.nLogMode);
  ShowField(*m_editFile, seed.record.szLogFile);
  ShowField(*m_editSize, seed.record.szLogSizeKB);
  m_checkSizeLimit->setChecked(seed.record.bLogSizeLimit != 0);
  EnterChosenLogState();
}

void CLogPage::Store(SettingsRecord& record) const {
  record.nLogMode = m_radioLog->checkedId();
  StoreField(record.szLogFile, *m_editFile);
  record.bLogSizeLimit = m_checkSizeLimit->isChecked() ? 1 : 0;
  // As typed: a text that is no positive number means no limit, which Apply decides.
  StoreField(record.szLogSizeKB, *m_editSize);
}

void CLogPage::showEvent(QShowEvent* event) {
  SettingsPage::showEvent(event);
  EnterChosenLogState();
}

void CLogPage::EnterLogState(bool on) {
  for (QWidget* control : std::initializer_list<QWidget*>{m_editFile, m_checkSizeLimit, m_staticFile, m_btnBrowse})
    control->setEnabled(on);
  EnableSizeControls(on && m_checkSizeLimit->isChecked());
}

void CLogPage::EnterChosenLogState() { EnterLogState(m_radioLog->checkedId() != 0); }

void CLogPage::EnableSizeControls(bool enable) {
  m_editSize->setEnabled(enable);
  m_staticSizeUnit->setEnabled(enable);
  m_spinSize->setEnabled(enable);
}

void CLogPage::OnBrowse() {
  if (const auto path = ChooseFile(this, QString::fromUtf8(text::kLogFileFilter))) EnterIntoLimited(*m_editFile, *path);
}

CColorPage::CColorPage(QWidget* parent) : SettingsPage(parent) {
  const BuiltControls controls = BuildPage(*this, kColorPageDialog);
  m_staticSample = controls.Get<QLabel>(id::page::kColourSample);
  m_staticSample->setAlignment(Qt::AlignCenter);
  m_staticSample->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  m_staticSample->setAutoFillBackground(true);
  connect(controls.Get<QPushButton>(id::page::kTextColour), &QPushButton::clicked, this,
          [this] { OnChooseColor(m_crText); });
  connect(controls.Get<QPushButton>(id::page::kBackColour), &QPushButton::clicked, this,
          [this] { OnChooseColor(m_crBack); });
}

void CColorPage::Load(const PageSeed& seed) {
  m_crText = seed.record.crText;
  m_crBack = seed.record.crBack;
  ShowSample();
}

void CColorPage::Store(SettingsRecord& record) const {
  record.crText = m_crText;
  record.crBack = m_crBack;
}

void CColorPage::OnChooseColor(std::uint32_t& colour) {
  const auto chosen = ChooseColour(this, FromColorRef(colour));
  if (!chosen) return;
  colour = ToColorRef(*chosen);
  ShowSample();
}

void CColorPage::ShowSample() {
  QPalette palette = m_staticSample->palette();
  palette.setColor(QPalette::Window, FromColorRef(m_crBack));
  palette.setColor(QPalette::WindowText, FromColorRef(m_crText));
  m_staticSample->setPalette(palette);
}

}  // namespace korvane
