#pragma once

#include <QValidator>

namespace korvane {

// Accepts a text only while it fits in maxBytes bytes of code page 932, the way the program
// stores it (a Japanese character takes two).
class Cp932LengthValidator : public QValidator {
 public:
  Cp932LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
  State validate(QString& input, int& position) const override;

 private:
  int maxBytes_;
};

}  // namespace korvane
