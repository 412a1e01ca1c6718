// SPDX-License-Identifier: MIT
#pragma once
// A packet as a copy sends it: built, then stamped with a tag.

#include <array>
#include <cstdint>
#include <vector>

#include "protocol/Packet.h"

namespace korvane::test {

// The buffer starts full of 0xEE: builders must clear what they do not fill.
template <typename Builder>
std::vector<std::uint8_t> Stamped(Builder builder, std::uint32_t tag = 7) {
  std::array<std::uint8_t, kMaxPacket> buffer;
  buffer.fill(0xEE);
  const int payload = builder(std::span<std::uint8_t>(buffer));
  StampPacket(buffer, payload, tag);
  return {buffer.begin(), buffer.begin() + payload + kPacketOverhead};
}

}  // namespace korvane::test
