// SPDX-License-Identifier: MIT
#pragma once
// Drops a packet that repeats the one dispatched before it (the same packet often arrives
// by broadcast and by UDP).

#include <array>
#include <cstdint>
#include <span>

#include "platform/DatagramSocket.h"

namespace korvane {

class RepeatFilter {
 public:
  // True when packet equals the first packet.size() bytes of the previous packet. Only a
  // whole copy matches in practice: a packet's one CR closes it, so a shorter packet
  // cannot equal the start of a longer one.
  bool IsRepeat(std::span<const std::uint8_t> packet) const;

  // Remembers packet (at most 1024 bytes) as the previous packet, zeros after it.
  void Remember(std::span<const std::uint8_t> packet);

 private:
  std::array<std::uint8_t, kMaxDatagram> previous_{};  // PreviousPacket
  std::size_t previousSize_ = 0;  // bytes of previous_ that may not be zero
};

}  // namespace korvane
