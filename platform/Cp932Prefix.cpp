// SPDX-License-Identifier: MIT
#include "platform/Cp932Prefix.h"

#include "platform/CodePage.h"

namespace korvane {

std::string_view Cp932Prefix(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    // A lead byte with nothing after it is a broken character of one byte.
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
    const std::size_t next = end + (pair ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace korvane
