// SPDX-License-Identifier: MIT
#include "window/COutDomainPage.h"

#include <QPushButton>
#include <QRadioButton>

#include "display/CMemberList.h"
#include "platform/DialogFont.h"
#include "platform/MessageBox.h"
#include "resources/AddressTemplates.h"
#include "window/CAddressDlg.h"
#include "window/DialogBuilder.h"

namespace korvane {
namespace {

constexpr int kIpColumn = 0;
constexpr int kNameColumn = 1;
const QColor kEnabledBackground(0xFF, 0xFF, 0xFF);
const QColor kDisabledBackground(0xC0, 0xC0, 0xC0);

// The message of a refused entry.
const std::string& MessageOf(AddressFault fault) {
  switch (fault) {
    case AddressFault::Missing: return Cp932<text::kAddressMissing>();
    case AddressFault::Taken: return Cp932<text::kAddressTaken>();
    default: return Cp932<text::kAddressInvalid>();
  }
}

}  // namespace

COutDomainPage::COutDomainPage(QWidget* parent)
    : SettingsPage(parent),
      m_openAddressDlg([this](const AddressEntry& texts) { return CAddressDlg::Run(texts, this); }) {
  setFont(DialogFont());
  setFixedSize(DialogPixelSize(kOutDomainPage, font()));
  const BuiltControls controls = BuildDialog(*this, kOutDomainPage, [this](const ControlTemplate& control) -> QWidget* {
    return control.id == id::kAddrList ? new CMemberList(this) : nullptr;
  });
  m_wndAddrList = controls.Get<CMemberList>(id::kAddrList);
  m_btnOff = controls.Get<QRadioButton>(id::kOutDomainOff);
  m_btnOn = controls.Get<QRadioButton>(id::kOutDomainOn);
  m_btnAdd = controls.Get<QPushButton>(id::kAddrAdd);
  m_btnUpdate = controls.Get<QPushButton>(id::kAddrUpdate);
  m_btnDelete = controls.Get<QPushButton>(id::kAddrDelete);

  m_wndAddrList->SetColumns({{text::kAddressColumnIp, 105}, {text::kAddressColumnName, 91}});
  m_wndAddrList->setSelectionMode(QAbstractItemView::SingleSelection);
  // Rows are stored in the order shown, which is the order they were added.
  m_wndAddrList->SetSortOnClick(false);

  connect(m_btnOff, &QRadioButton::clicked, this, &COutDomainPage::DisableOutDomain);
  connect(m_btnOn, &QRadioButton::clicked, this, &COutDomainPage::EnableOutDomain);
  connect(m_wndAddrList, &CMemberList::clicked, this, &COutDomainPage::OnClickAddrList);
  connect(m_btnAdd, &QPushButton::clicked, this, &COutDomainPage::OnAdd);
  connect(m_btnUpdate, &QPushButton::clicked, this, &COutDomainPage::OnUpdate);
  connect(m_btnDelete, &QPushButton::clicked, this, &COutDomainPage::OnDelete);
}

void COutDomainPage::Load(const PageSeed& seed) {
  const std::int32_t choice = seed.record.nOutDomainMode;
  // Any other value checks neither button.
  if (choice == 0) m_btnOff->setChecked(true);
  if (choice == 1) m_btnOn->setChecked(true);
  for (int i = 0; i < UsableAddrCount(seed.record); ++i)
    m_wndAddrList->AppendRow(FieldText(seed.record.szAddrIP[i]), FieldText(seed.record.szAddrName[i]));
  if (choice != 0) {
    EnableOutDomain();
    SetRowButtonsEnabled(false);
  } else {
    DisableOutDomain();
  }
}

void COutDomainPage::Store(SettingsRecord& record) const {
  record.nOutDomainMode = RadioChoice();
  record.nAddrCount = m_wndAddrList->RowCount();
  for (int i = 0; i < kMaxOutDomainAddrs; ++i) {
    const bool used = i < record.nAddrCount;
    SetFieldText(record.szAddrIP[i], used ? m_wndAddrList->RowText(i, kIpColumn) : std::string());
    SetFieldText(record.szAddrName[i], used ? m_wndAddrList->RowText(i, kNameColumn) : std::string());
  }
}

bool COutDomainPage::FindAddress(const std::string& address) const {
  for (int row = 0; row < m_wndAddrList->RowCount(); ++row)
    if (m_wndAddrList->RowText(row, kIpColumn) == address) return true;
  return false;
}

void COutDomainPage::EnableOutDomain() {
  m_btnAdd->setEnabled(true);
  m_wndAddrList->setEnabled(true);
  SetListBackground(kEnabledBackground);
}

void COutDomainPage::DisableOutDomain() {
  m_btnAdd->setEnabled(false);
  SetRowButtonsEnabled(false);
  m_wndAddrList->setEnabled(false);
  SetListBackground(kDisabledBackground);
  m_wndAddrList->DeselectAllMembers();
}

void COutDomainPage::OnClickAddrList() {
  // A click that leaves nothing selected leaves the buttons as they were.
  if (FirstSelectedRow() >= 0) SetRowButtonsEnabled(true);
}

void COutDomainPage::OnAdd() {
  // The settings file has room for this many; refused before anything is typed.
  if (m_wndAddrList->RowCount() >= kMaxOutDomainAddrs) {
    AfxMessageBox(Cp932<text::kAddressListFull>(), MB_ICONEXCLAMATION);
    return;
  }
  if (const auto entered = EnterAddress({}, true)) m_wndAddrList->AppendRow(entered->address, entered->name);
}

void COutDomainPage::OnUpdate() {
  const int row = FirstSelectedRow();
  if (row < 0) {
    AfxMessageBox(Cp932<text::kNothingToUpdate>(), MB_ICONEXCLAMATION);
    return;
  }
  const AddressEntry shown{m_wndAddrList->RowText(row, kNameColumn),
                           SplitAddress(m_wndAddrList->RowText(row, kIpColumn))};
  // A row may be given its own address again, or another row's.
  if (const auto entered = EnterAddress(shown, false)) {
    m_wndAddrList->SetRowText(row, kIpColumn, entered->address);
    m_wndAddrList->SetRowText(row, kNameColumn, entered->name);
  }
  m_wndAddrList->DeselectAllMembers();
  SetRowButtonsEnabled(false);
}

void COutDomainPage::OnDelete() {
  if (const int row = FirstSelectedRow(); row >= 0) {
    m_wndAddrList->RemoveRow(row);
    // Qt selects the row that moved up; nothing stays selected.
    m_wndAddrList->DeselectAllMembers();
  }
  SetRowButtonsEnabled(false);
}

std::optional<COutDomainPage::Registration> COutDomainPage::EnterAddress(AddressEntry texts, bool refuseTaken) {
  for (;;) {
    std::optional<AddressEntry> entered = m_openAddressDlg(texts);
    if (!entered) return std::nullopt;
    texts = std::move(*entered);
    AddressCheck check = CheckOctets(texts.octets);
    if (check.fault == AddressFault::None && refuseTaken && FindAddress(check.address))
      check.fault = AddressFault::Taken;
    if (check.fault == AddressFault::None) return Registration{check.address, texts.name};
    AfxMessageBox(MessageOf(check.fault), MB_ICONEXCLAMATION);
  }
}

int COutDomainPage::FirstSelectedRow() {
  m_wndAddrList->RecordSelection(m_selection);
  const auto first = m_selection.m_selFlags.find('1');
  return first == std::string::npos ? -1 : static_cast<int>(first);
}

void COutDomainPage::SetRowButtonsEnabled(bool enabled) {
  m_btnUpdate->setEnabled(enabled);
  m_btnDelete->setEnabled(enabled);
}

void COutDomainPage::SetListBackground(QColor colour) {
  QPalette palette = m_wndAddrList->palette();
  palette.setColor(QPalette::Base, colour);
  m_wndAddrList->setPalette(palette);
}

int COutDomainPage::RadioChoice() const {
  if (m_btnOff->isChecked()) return 0;
  return m_btnOn->isChecked() ? 1 : -1;
}

}  // namespace korvane
