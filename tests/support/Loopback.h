#pragma once
// Carriers on loopback addresses with system-chosen ports, so tests neither collide with
// each other nor leave the machine.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/BroadcastSlot.h"
#include "platform/CarrierConfig.h"
#include "platform/DatagramSocket.h"
#include "platform/UdpCarrier.h"
#include "tests/support/PacketCapture.h"
#include "tests/support/Wait.h"

namespace korvane::test {

using Bytes = std::vector<std::uint8_t>;

// A broadcast slot on address with a free port.
inline std::unique_ptr<BroadcastSlot> OpenLoopbackSlot(const std::string& address = "127.0.0.1") {
  CarrierConfig config;
  config.slotAddress = address;
  config.slotPort = 0;
  return BroadcastSlot::Open(config);
}

// Hosts 127.0.0.<first>, <first + 1>, ... on two neighbouring ports free on all of them (the
// broadcast slot's and the unicast carrier's): every broadcast reaches every host and tap.
class LoopbackHosts {
 public:
  LoopbackHosts(int count, int first) {
    for (int i = 0; i < count; ++i) addresses_.push_back("127.0.0." + std::to_string(first + i));
    for (int attempt = 0; attempt < 50 && slotPort_ == 0; ++attempt) TakeFreePorts();
  }
  std::string Address(int host) const { return addresses_.at(host); }
  CarrierConfig CarriersOf(int host) const {
    CarrierConfig carriers;
    carriers.slotAddress = addresses_.at(host);
    carriers.slotPort = slotPort_;
    carriers.udpPort = static_cast<std::uint16_t>(slotPort_ + 1);
    for (const std::string& address : addresses_) carriers.broadcastDestinations.push_back({address, slotPort_});
    carriers.broadcastDestinations.push_back({"127.0.0.1", tap.Port()});
    return carriers;
  }

  PacketCapture tap;  // every broadcast of every host, in the order sent

 private:
  // Holds the probe's port on the first host and both ports on every other; a port taken
  // elsewhere leaves slotPort_ 0 for another try.
  void TakeFreePorts() {
    std::vector<UniqueFd> held;
    held.push_back(BindDatagramSocket(addresses_[0], 0));
    const std::uint16_t slot = BoundPort(held[0]);
    for (const std::string& address : addresses_) {
      for (const std::uint16_t port : {slot, static_cast<std::uint16_t>(slot + 1)}) {
        if (address == addresses_[0] && port == slot) continue;
        held.push_back(BindDatagramSocket(address, port));
        if (!held.back().Valid()) return;
      }
    }
    slotPort_ = slot;
  }

  std::vector<std::string> addresses_;
  std::uint16_t slotPort_ = 0;
};

}  // namespace korvane::test
