// SPDX-License-Identifier: MIT
#pragma once
// Carriers on loopback addresses with system-chosen ports, so tests neither collide with
// each other nor leave the machine.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CarrierConfig.h"
#include "platform/DatagramSocket.h"
#include "platform/UdpCarrier.h"
#include "tests/support/PacketCapture.h"
#include "tests/support/Wait.h"

namespace korvane::test {

using Bytes = std::vector<std::uint8_t>;

// A host on address with two neighbouring free ports (the broadcast slot's and the unicast
// carrier's), whose broadcasts reach its own slot and the tap.
class LoopbackHost {
 public:
  explicit LoopbackHost(const std::string& address) {
    carriers.slotAddress = address;
    carriers.slotPort = 0;
    for (int attempt = 0; attempt < 50 && carriers.slotPort == 0; ++attempt) {
      const UniqueFd slot = BindDatagramSocket(address, 0);
      const std::uint16_t port = BoundPort(slot);
      if (BindDatagramSocket(address, static_cast<std::uint16_t>(port + 1)).Valid()) carriers.slotPort = port;
    }
    carriers.udpPort = static_cast<std::uint16_t>(carriers.slotPort + 1);
    carriers.broadcastDestinations = {{address, carriers.slotPort}, {"127.0.0.1", tap.Port()}};
  }

  PacketCapture tap;  // every broadcast, in the order sent
  CarrierConfig carriers;
};

}  // namespace korvane::test
