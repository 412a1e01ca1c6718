#include "window/Cp932LengthValidator.h"

#include "platform/QtText.h"

namespace korvane {

QValidator::State Cp932LengthValidator::validate(QString& input, int&) const {
  const auto bytes = ToCp932(input).size();
  return bytes <= static_cast<std::size_t>(maxBytes_) ? Acceptable : Invalid;
}

}  // namespace korvane
