// SPDX-License-Identifier: MIT
#include "window/Cp932LengthValidator.h"

#include <QLineEdit>

#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

void TellRefusal(const std::string& refusal) {
  if (!refusal.empty()) AfxMessageBox(refusal, MB_ICONEXCLAMATION);
}

}  // namespace

QValidator::State Cp932LengthValidator::validate(QString& input, int&) const {
  std::string refusal = Refusal(input);
  if (refusal.empty()) return Acceptable;
  lastRefusal_ = std::move(refusal);
  return Invalid;
}

std::string Cp932LengthValidator::Refusal(const QString& text) const {
  // U+FFFD stands for stored bytes that no character stands for: the field may keep them.
  if (!Cp932Holds(QString(text).remove(QChar::ReplacementCharacter).toStdString()))
    return Cp932<text::kCharacterNotStorable>();
  if (ToCp932(text).size() > static_cast<std::size_t>(maxBytes_))
    return FillFormat(Cp932<text::kEntryTooLong>(), {std::to_string(maxBytes_)});
  return {};
}

void LimitToCp932(QLineEdit& field, int maxBytes) {
  auto* validator = new Cp932LengthValidator(maxBytes, &field);
  field.setValidator(validator);
  // Qt tells that an entry (typed, pasted or committed by an input method) was refused, not
  // why: the validator kept the reason.
  QObject::connect(&field, &QLineEdit::inputRejected, &field, [validator] { TellRefusal(validator->LastRefusal()); });
}

void EnterIntoLimited(QLineEdit& field, const QString& text) {
  const std::string refusal = static_cast<const Cp932LengthValidator*>(field.validator())->Refusal(text);
  TellRefusal(refusal);
  if (!refusal.empty()) return;
  field.setText(text);
  field.setModified(true);
}

}  // namespace korvane
