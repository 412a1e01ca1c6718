// SPDX-License-Identifier: MIT
#include "protocol/RepeatFilter.h"

#include <algorithm>

namespace korvane {

bool RepeatFilter::IsRepeat(std::span<const std::uint8_t> packet) const {
  return packet.size() <= previous_.size() &&
         std::equal(packet.begin(), packet.end(), previous_.begin());
}

void RepeatFilter::Remember(std::span<const std::uint8_t> packet) {
  const std::size_t size = std::min(packet.size(), previous_.size());
  std::copy_n(packet.begin(), size, previous_.begin());
  // Zeros after it: only where the packet before reached further need clearing.
  std::fill(previous_.begin() + size, previous_.begin() + std::max(size, previousSize_), 0);
  previousSize_ = size;
}

}  // namespace korvane
