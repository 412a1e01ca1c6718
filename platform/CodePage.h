// SPDX-License-Identifier: MIT
#pragma once
// Code page 932 (the program's byte strings) <-> UTF-8 (Qt, the file system, the source).

#include <string>
#include <string_view>

namespace korvane {

// Characters code page 932 cannot hold become '?'; invalid UTF-8 bytes too.
std::string Utf8ToCp932(std::string_view utf8);

// Whether code page 932 holds every character of utf8 (valid UTF-8).
bool Cp932Holds(std::string_view utf8);

// Invalid or truncated code page 932 bytes become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// First byte of a double-byte character.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace korvane
