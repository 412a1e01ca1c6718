// SPDX-License-Identifier: MIT
#pragma once
// Fixed-width, zero-padded text fields, as the wire and the tables hold them. A field
// without a zero byte ends at its width.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace korvane {

template <std::size_t N>
using FixedText = std::array<char, N>;

// Dotted-decimal IPv4 address text, at most 15 characters.
using AddressText = FixedText<16>;
// A handle name as the wire carries it.
using HandleText = FixedText<50>;

// The text up to the first zero byte, never past the field.
template <std::size_t N>
std::string_view TextOf(const FixedText<N>& field) {
  return {field.data(), ::strnlen(field.data(), N)};
}

// Zero-padded copy of at most maxLength bytes of text (by default, leaving one zero byte).
template <std::size_t N>
FixedText<N> MakeFixedText(std::string_view text, std::size_t maxLength = N - 1) {
  FixedText<N> field{};
  const std::size_t length = std::min({text.size(), maxLength, N});
  std::copy_n(text.data(), length, field.data());
  return field;
}

// The address text alone, zeros after it: what was received, without what follows its
// terminator. A field without one keeps all 16 characters, so it still matches itself.
inline AddressText CleanAddress(const AddressText& address) {
  return MakeFixedText<16>(TextOf(address), 16);
}

// Whole-string comparison: equal text up to the terminating zero.
template <std::size_t N>
bool SameText(const FixedText<N>& a, const FixedText<N>& b) {
  return TextOf(a) == TextOf(b);
}

}  // namespace korvane
