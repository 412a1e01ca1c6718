// SPDX-License-Identifier: MIT
#include "resources/Texts.h"

#include <cctype>

namespace korvane {

std::string FillFormat(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string filled;
  // One allocation, however the precisions cut the values.
  std::size_t room = format.size();
  for (const std::string_view value : values) room += value.size();
  filled.reserve(room);
  const std::string_view* next = values.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    // '%' is never the second byte of a code page 932 character, so bytes can be read one
    // by one.
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      filled += c;
      continue;
    }
    if (format[i + 1] == '%') {
      filled += '%';
      ++i;
      continue;
    }
    // %s, %d or %.<precision>s; anything else stays as written.
    std::size_t end = i + 1;
    std::size_t precision = std::string_view::npos;
    if (format[end] == '.') {
      precision = 0;
      while (++end < format.size() && std::isdigit(static_cast<unsigned char>(format[end])))
        precision = precision * 10 + static_cast<std::size_t>(format[end] - '0');
    }
    const bool directive = end < format.size() && (format[end] == 's' || format[end] == 'd');
    if (!directive) {
      filled += c;
      continue;
    }
    if (next != values.end()) filled.append(next++->substr(0, precision));
    i = end;
  }
  return filled;
}

}  // namespace korvane
