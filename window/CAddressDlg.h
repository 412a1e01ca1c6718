// SPDX-License-Identifier: MIT
#pragma once
// The modal dialog that registers one out-of-domain address: a name and the four octets.
// Only a click on "登録" confirms it; Enter does nothing, so a half-typed address is never
// registered by accident.

#include <QDialog>
#include <array>
#include <optional>

#include "settings/AddressEntry.h"

class QLineEdit;

namespace korvane {

class CAddressDlg : public QDialog {
  Q_OBJECT

 public:
  // A new dialog for every opening, showing texts.
  explicit CAddressDlg(const AddressEntry& texts, QWidget* parent = nullptr);

  // The texts as the controls hold them.
  AddressEntry Texts() const;

  // Runs a dialog with texts: what was entered when "登録" closed it, nothing when cancelled.
  static std::optional<AddressEntry> Run(const AddressEntry& texts, QWidget* parent);

 private:
  // Runs at the end of the constructor, once the controls exist and before the dialog shows.
  void OnInitDialog();

  QLineEdit* m_editName = nullptr;
  std::array<QLineEdit*, 4> m_editOctets{};
};

}  // namespace korvane
