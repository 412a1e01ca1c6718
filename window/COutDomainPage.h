// SPDX-License-Identifier: MIT
#pragma once
// The settings page of communication outside the local domain: whether to send to the
// registered addresses at all, and the list of them (at most 100, each an address and a
// name). The page edits only its list; the dialog takes it on Apply.

#include <QColor>
#include <functional>
#include <optional>
#include <string>

#include "protocol/Selection.h"
#include "settings/AddressEntry.h"
#include "window/SettingsPage.h"

class QPushButton;
class QRadioButton;

namespace korvane {

class CMemberList;

class COutDomainPage : public SettingsPage {
  Q_OBJECT

 public:
  // Opens the registration dialog showing texts; gives what was entered, or nothing when
  // the dialog was cancelled.
  using AddressDlgOpener = std::function<std::optional<AddressEntry>(const AddressEntry& texts)>;

  explicit COutDomainPage(QWidget* parent = nullptr);

  void Load(const PageSeed& seed) override;
  void Store(SettingsRecord& record) const override;

  // Tests put a script in place of the modal dialog.
  void SetAddressDlgOpener(AddressDlgOpener opener) { m_openAddressDlg = std::move(opener); }

 private:
  struct Registration {
    std::string address;
    std::string name;
  };

  // Run on the radio buttons' clicked signals; they also set the page up in Load.
  void EnableOutDomain();
  void DisableOutDomain();
  // Runs on the list's clicked signal: a click on a row.
  void OnClickAddrList();
  // Run on the buttons' clicked signals.
  void OnAdd();
  void OnUpdate();
  void OnDelete();

  // True when some row holds address.
  bool FindAddress(const std::string& address) const;
  // Opens the dialog until its texts pass the checks or it is cancelled.
  std::optional<Registration> EnterAddress(AddressEntry texts, bool refuseTaken);
  // The first selected row, or -1.
  int FirstSelectedRow();
  void SetRowButtonsEnabled(bool enabled);
  void SetListBackground(QColor colour);
  int RadioChoice() const;

  CMemberList* m_wndAddrList = nullptr;
  QRadioButton* m_btnOff = nullptr;
  QRadioButton* m_btnOn = nullptr;
  QPushButton* m_btnAdd = nullptr;
  QPushButton* m_btnUpdate = nullptr;
  QPushButton* m_btnDelete = nullptr;
  SelectionRecord m_selection;  // its m_selFlags, as the last RecordSelection left them
  AddressDlgOpener m_openAddressDlg;
};

}  // namespace korvane
