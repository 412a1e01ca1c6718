#include "window/Cp932LengthValidator.h"

#include "platform/CodePage.h"

namespace korvane {

QValidator::State Cp932LengthValidator::validate(QString& input, int&) const {
  const auto bytes = Utf8ToCp932(input.toStdString()).size();
  return bytes <= static_cast<std::size_t>(maxBytes_) ? Acceptable : Invalid;
}

}  // namespace korvane
