// SPDX-License-Identifier: MIT
#include "platform/UdpCarrier.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/DatagramSocket.h"
#include "platform/Ipv4.h"

namespace korvane {
namespace {

// Holds the carrier's descriptor while no address is bound; it never sends (bound_ is false).
UniqueFd UnboundSocket() { return UniqueFd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }

}  // namespace

std::unique_ptr<UdpCarrier> UdpCarrier::Open(const std::string& address, std::uint16_t port) {
  UniqueFd placeholder = UnboundSocket();
  UniqueFd replaced(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!placeholder.Valid() || !replaced.Valid()) return nullptr;
  std::unique_ptr<UdpCarrier> carrier(new UdpCarrier(std::move(placeholder), std::move(replaced), port));
  carrier->Bind(address);
  return carrier;
}

bool UdpCarrier::Bind(const std::string& address) {
  UniqueFd fresh = BindDatagramSocket(address, port_);
  const bool bound = fresh.Valid();
  if (!bound) fresh = UnboundSocket();
  if (!fresh.Valid()) return false;
  bound_.store(false);
  // Other threads keep using the descriptor number; dup3 swaps the socket behind it in one
  // step. A poll already waiting still waits on the old socket, which nothing will wake: the
  // signal stays readable until the reader's next ReceiveFrom, so its wait ends.
  if (::dup3(fresh.Get(), socket_.Get(), O_CLOEXEC) < 0) return false;
  const std::uint64_t one = 1;
  (void)!::write(replaced_.Get(), &one, sizeof one);
  replacedPending_.store(true);
  bound_.store(bound);
  return bound;
}

int UdpCarrier::ReceiveFrom(std::uint8_t* buffer, int capacity) {
  if (replacedPending_.exchange(false)) {
    std::uint64_t count = 0;
    (void)!::read(replaced_.Get(), &count, sizeof count);
  }
  if (closed_.load() || !bound_.load()) return -1;
  return ReceiveDatagram(socket_, buffer, capacity);
}

int UdpCarrier::SendTo(std::span<const std::uint8_t> packet, const std::string& address,
                       std::uint16_t port) {
  if (closed_.load() || !bound_.load()) return -1;
  const auto destination = MakeSocketAddress(address, port);
  if (!destination) return -1;
  const ssize_t sent =
      ::sendto(socket_.Get(), packet.data(), packet.size(), MSG_DONTWAIT,
               reinterpret_cast<const sockaddr*>(&*destination), sizeof *destination);
  return sent < 0 ? -1 : static_cast<int>(sent);
}

std::uint16_t UdpCarrier::Port() const { return BoundPort(socket_); }

}  // namespace korvane
