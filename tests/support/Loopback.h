#pragma once
// Carriers on loopback addresses with system-chosen ports, and bounded waits for what they
// receive, so tests neither collide with each other nor leave the machine.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/BroadcastSlot.h"
#include "platform/CarrierConfig.h"
#include "platform/DatagramSocket.h"
#include "platform/UdpCarrier.h"

namespace korvane::test {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// A broadcast slot on address with a free port.
inline std::unique_ptr<BroadcastSlot> OpenLoopbackSlot(const std::string& address = "127.0.0.1") {
  CarrierConfig config;
  config.slotAddress = address;
  config.slotPort = 0;
  return BroadcastSlot::Open(config);
}

// Broadcasts that reach exactly the given slots.
inline CarrierConfig BroadcastTo(const std::vector<const BroadcastSlot*>& receivers) {
  CarrierConfig config;
  for (const BroadcastSlot* slot : receivers) config.broadcastDestinations.push_back({"127.0.0.1", slot->Port()});
  return config;
}

// Waits (bounded) until the slot holds at least count messages, then reads all it holds.
inline std::vector<Bytes> ReadSlot(BroadcastSlot& slot, int count,
                                   std::chrono::milliseconds wait = 2s) {
  int nextSize = 0;
  int waiting = 0;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (slot.GetInfo(&nextSize, &waiting) && waiting < count &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(2ms);
  std::vector<Bytes> messages;
  std::uint8_t buffer[1024];
  for (int i = 0; i < waiting; ++i) {
    const int size = slot.Read(buffer, sizeof buffer);
    if (size < 0) break;
    messages.emplace_back(buffer, buffer + size);
  }
  return messages;
}

// Every datagram that reaches socket within wait (stops early once count have come).
inline std::vector<Bytes> ReadUdp(UdpCarrier& socket, std::size_t count,
                                  std::chrono::milliseconds wait = 2s) {
  std::vector<Bytes> datagrams;
  std::uint8_t buffer[1024];
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (datagrams.size() < count && std::chrono::steady_clock::now() < deadline) {
    const int size = socket.ReceiveFrom(buffer, sizeof buffer);
    if (size > 0)
      datagrams.emplace_back(buffer, buffer + size);
    else
      std::this_thread::sleep_for(2ms);
  }
  return datagrams;
}

// Two neighbouring ports (for the broadcast slot and the unicast carrier) free on every one
// of the given loopback addresses.
inline std::pair<std::uint16_t, std::uint16_t> FreePortPair(const std::vector<std::string>& addresses) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    const UniqueFd probe = BindDatagramSocket(addresses.at(0), 0);
    const std::uint16_t slot = BoundPort(probe);
    const auto udp = static_cast<std::uint16_t>(slot + 1);
    std::vector<UniqueFd> held;
    bool free = true;
    for (const std::string& address : addresses) {
      for (const std::uint16_t port : {slot, udp}) {
        if (address == addresses[0] && port == slot) continue;
        held.push_back(BindDatagramSocket(address, port));
        free = free && held.back().Valid();
      }
    }
    if (free) return {slot, udp};
  }
  return {0, 0};
}

}  // namespace korvane::test
