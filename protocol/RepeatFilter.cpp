// SPDX-License-Identifier: MIT
#include "protocol/RepeatFilter.h"

#include <algorithm>

namespace korvane {

bool RepeatFilter::IsRepeat(std::span<const std::uint8_t> packet) const {
  return packet.size() <= previous_.size() &&
         std::equal(packet.begin(), packet.end(), previous_.begin());
}

void RepeatFilter::Remember(std::span<const std::uint8_t> packet) {
  previous_.fill(0);
  const auto kept = packet.first(std::min(packet.size(), previous_.size()));
  std::copy(kept.begin(), kept.end(), previous_.begin());
}

}  // namespace korvane
