// SPDX-License-Identifier: MIT
#pragma once
// Write end of the broadcast carrier: one packet to every copy on the local network.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/CarrierConfig.h"

namespace korvane {

enum class BroadcastResult {
  Sent,         // at least one datagram went out whole
  OpenFailed,   // no socket could be made for the write
  WriteFailed,  // no datagram went out whole
};

class BroadcastWriter {
 public:
  virtual ~BroadcastWriter() = default;
  virtual BroadcastResult Write(std::span<const std::uint8_t> packet) = 0;
};

// Opens a broadcast socket per packet, as a write to the broadcast slot opens its handle
// per packet, and sends one datagram to each destination.
class SocketBroadcastWriter final : public BroadcastWriter {
 public:
  explicit SocketBroadcastWriter(CarrierConfig config);
  BroadcastResult Write(std::span<const std::uint8_t> packet) override;

 private:
  std::vector<Ipv4Endpoint> Destinations() const;

  CarrierConfig config_;
};

}  // namespace korvane
