// SPDX-License-Identifier: MIT
#include "platform/BroadcastWriter.h"

#include <sys/socket.h>

#include "platform/Interfaces.h"
#include "platform/Ipv4.h"
#include "platform/UniqueFd.h"

namespace korvane {

SocketBroadcastWriter::SocketBroadcastWriter(CarrierConfig config) : config_(std::move(config)) {}

std::vector<Ipv4Endpoint> SocketBroadcastWriter::Destinations() const {
  if (!config_.broadcastDestinations.empty()) return config_.broadcastDestinations;
  std::vector<Ipv4Endpoint> result;
  // Asked anew for every packet: interfaces come and go while the program runs.
  for (const std::string& address : InterfaceBroadcastAddresses())
    result.push_back({address, config_.slotPort});
  if (result.empty()) result.push_back({"127.255.255.255", config_.slotPort});
  return result;
}

BroadcastResult SocketBroadcastWriter::Write(std::span<const std::uint8_t> packet) {
  UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) return BroadcastResult::OpenFailed;
  const int on = 1;
  if (::setsockopt(socket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
    return BroadcastResult::OpenFailed;

  bool sentWhole = false;
  for (const Ipv4Endpoint& destination : Destinations()) {
    const auto address = MakeSocketAddress(destination.address, destination.port);
    if (!address) continue;
    const ssize_t sent = ::sendto(socket.Get(), packet.data(), packet.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
    if (sent == static_cast<ssize_t>(packet.size())) sentWhole = true;
  }
  return sentWhole ? BroadcastResult::Sent : BroadcastResult::WriteFailed;
}

}  // namespace korvane
