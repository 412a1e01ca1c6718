// SPDX-License-Identifier: MIT
#pragma once
// The commands a user can type in the message input instead of a message.

#include <optional>
#include <string_view>

namespace korvane {

// "m1".."m5" (or "M1".."M5"), exactly two bytes: the phrase digit.
std::optional<char> FixedPhraseShortcut(std::string_view line);

// Any line whose first five bytes are "clear" or "CLEAR".
bool IsClearCommand(std::string_view line);

// Exactly "bye" or "BYE".
bool IsByeCommand(std::string_view line);

}  // namespace korvane
