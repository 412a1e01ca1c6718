// SPDX-License-Identifier: MIT
#include "platform/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace korvane {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Converts input with iconv; at a byte it cannot convert, appends replacement, skips the
// bytes skip() says and counts the replacement in *replaced.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, Skip skip, int* replaced = nullptr) {
  std::string output;
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ: an invalid or unrepresentable character; EINVAL: cut off at the end.
    output.append(replacement);
    if (replaced != nullptr) ++*replaced;
    const std::size_t skipped = errno == EINVAL ? inLeft : std::min(inLeft, skip(*in));
    in += skipped;
    inLeft -= skipped;
  }
  iconv_close(converter);
  return output;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, "?", [](char lead) {
    return Utf8SequenceLength(static_cast<unsigned char>(lead));
  });
}

bool Cp932Holds(std::string_view utf8) {
  int replaced = 0;
  Convert("CP932", "UTF-8", utf8, "?", [](char) { return std::size_t{1}; }, &replaced);
  return replaced == 0;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, kReplacementCharacter,
                 [](char) { return std::size_t{1}; });
}

}  // namespace korvane
