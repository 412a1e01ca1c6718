// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <string>

namespace korvane {

constexpr std::size_t kLogStampSize = 27;

// "[Thu Feb  8 15:19:13 2001] ": the local time in the classic 24-character form with
// English names whatever the locale, bracketed, and a space. Always kLogStampSize bytes.
std::string FormatLogStamp(std::time_t when);

}  // namespace korvane
