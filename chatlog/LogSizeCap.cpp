// SPDX-License-Identifier: MIT
#include "chatlog/LogSizeCap.h"

#include <limits>

namespace korvane {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::int32_t ParseLikeAtoi(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    // Saturates, so a long run of digits can neither overflow nor wrap to a small cap.
    value = value * 10 + (text[at] - '0');
    if (value > kMax + 1) value = kMax + 1;
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value > kMax ? kMax : value);
}

}  // namespace

std::int32_t LogSizeCapKB(std::string_view text) {
  const std::int32_t value = ParseLikeAtoi(text);
  return value < 1 ? kNoLogSizeCap : value;
}

}  // namespace korvane
