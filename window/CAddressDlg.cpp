// SPDX-License-Identifier: MIT
#include "window/CAddressDlg.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/DialogFont.h"
#include "platform/QtText.h"
#include "resources/AddressTemplates.h"
#include "window/Cp932LengthValidator.h"
#include "window/DialogBuilder.h"

namespace korvane {
namespace {

// The name's field in the settings file holds 49 bytes and its zero.
constexpr int kMaxNameBytes = 49;
constexpr int kOctetChars = 3;

}  // namespace

CAddressDlg::CAddressDlg(const AddressEntry& texts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kAddressDialog.title));
  setFont(DialogFont());
  setFixedSize(DialogPixelSize(kAddressDialog, font()));

  const BuiltControls controls =
      BuildDialog(*this, kAddressDialog, [](const ControlTemplate&) -> QWidget* { return nullptr; });
  m_editName = controls.Get<QLineEdit>(id::kAddressName);
  LimitToCp932(*m_editName, kMaxNameBytes);
  m_editName->setText(ToQString(texts.name));
  for (std::size_t i = 0; i < m_editOctets.size(); ++i) {
    QLineEdit* edit = controls.Get<QLineEdit>(id::kAddressOctet1 + static_cast<int>(i));
    edit->setMaxLength(kOctetChars);
    edit->setAlignment(Qt::AlignRight);
    edit->setText(ToQString(texts.octets[i]));
    m_editOctets[i] = edit;
  }
  // Neither button may take Enter, not even while it has the focus.
  auto* registerButton = controls.Get<QPushButton>(id::kAddressRegister);
  auto* cancelButton = controls.Get<QPushButton>(id::kAddressCancel);
  for (QPushButton* button : {registerButton, cancelButton}) button->setAutoDefault(false);
  connect(registerButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  OnInitDialog();
}

void CAddressDlg::OnInitDialog() { m_editName->setFocus(); }

AddressEntry CAddressDlg::Texts() const {
  AddressEntry texts{ToCp932(m_editName->text()), {}};
  for (std::size_t i = 0; i < m_editOctets.size(); ++i) texts.octets[i] = ToCp932(m_editOctets[i]->text());
  return texts;
}

std::optional<AddressEntry> CAddressDlg::Run(const AddressEntry& texts, QWidget* parent) {
  CAddressDlg dialog(texts, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Texts();
}

}  // namespace korvane
