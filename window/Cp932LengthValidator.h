// SPDX-License-Identifier: MIT
#pragma once
// Text fields whose text is stored in a code page 932 field of a record.

#include <QValidator>
#include <string>

class QLineEdit;

namespace korvane {

// Accepts a text only while code page 932 holds all of it in maxBytes bytes, the way the
// program stores it (a Japanese character takes two).
class Cp932LengthValidator : public QValidator {
 public:
  Cp932LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
  State validate(QString& input, int& position) const override;

  // Why text is refused, in the program's words (code page 932); empty when it is not.
  std::string Refusal(const QString& text) const;
  // Why the last text refused was.
  const std::string& LastRefusal() const { return lastRefusal_; }

 private:
  int maxBytes_;
  mutable std::string lastRefusal_;
};

// Puts the validator on field, and tells the user in a box why an entry was refused.
void LimitToCp932(QLineEdit& field, int maxBytes);

// Puts text into a field so limited as an edit of the user's, when its rules allow; else
// tells why, and the field keeps its text. For what comes from elsewhere, such as a chooser.
void EnterIntoLimited(QLineEdit& field, const QString& text);

}  // namespace korvane
