#include "platform/UdpCarrier.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/DatagramSocket.h"
#include "platform/Ipv4.h"

namespace korvane {

std::unique_ptr<UdpCarrier> UdpCarrier::Open(const std::string& address, std::uint16_t port) {
  UniqueFd placeholder(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!placeholder.Valid()) return nullptr;
  std::unique_ptr<UdpCarrier> carrier(new UdpCarrier(std::move(placeholder), port));
  carrier->Bind(address);
  return carrier;
}

bool UdpCarrier::Bind(const std::string& address) {
  UniqueFd fresh = BindDatagramSocket(address, port_);
  const bool bound = fresh.Valid();
  if (!bound) fresh.Reset(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fresh.Valid()) return false;
  bound_.store(false);
  // Other threads keep using the descriptor number; dup3 swaps the socket behind it in one
  // step. A thread polling the old socket still waits on it: shutting that one down wakes it.
  const UniqueFd old(::dup(socket_.Get()));
  if (::dup3(fresh.Get(), socket_.Get(), O_CLOEXEC) < 0) return false;
  ::shutdown(old.Get(), SHUT_RDWR);
  bound_.store(bound);
  return bound;
}

int UdpCarrier::ReceiveFrom(std::uint8_t* buffer, int capacity) {
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
