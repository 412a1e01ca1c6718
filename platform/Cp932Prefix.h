// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

namespace korvane {

// The longest start of text of at most maxBytes that does not end in the middle of a
// double-byte character.
std::string_view Cp932Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace korvane
