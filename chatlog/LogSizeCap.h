// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace korvane {

constexpr std::int32_t kNoLogSizeCap = -1;

// The cap in K bytes from the text the user typed, read as atoi reads it: leading blanks,
// an optional sign, the leading digits; a text that is no number is 0. A value below 1
// means no cap (kNoLogSizeCap); one too large for 32 bits is the largest that fits.
std::int32_t LogSizeCapKB(std::string_view text);

}  // namespace korvane
