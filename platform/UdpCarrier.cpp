#include "platform/UdpCarrier.h"

#include <sys/socket.h>

#include "platform/DatagramSocket.h"
#include "platform/Ipv4.h"

namespace korvane {

std::unique_ptr<UdpCarrier> UdpCarrier::Open(const std::string& address, std::uint16_t port) {
  UniqueFd socket = BindDatagramSocket(address, port);
  if (!socket.Valid()) return nullptr;
  return std::unique_ptr<UdpCarrier>(new UdpCarrier(std::move(socket)));
}

int UdpCarrier::ReceiveFrom(std::uint8_t* buffer, int capacity) {
  if (closed_.load()) return -1;
  return ReceiveDatagram(socket_, buffer, capacity);
}

int UdpCarrier::SendTo(std::span<const std::uint8_t> packet, const std::string& address,
                       std::uint16_t port) {
  if (closed_.load()) return -1;
  const auto destination = MakeSocketAddress(address, port);
  if (!destination) return -1;
  const ssize_t sent =
      ::sendto(socket_.Get(), packet.data(), packet.size(), MSG_DONTWAIT,
               reinterpret_cast<const sockaddr*>(&*destination), sizeof *destination);
  return sent < 0 ? -1 : static_cast<int>(sent);
}

std::uint16_t UdpCarrier::Port() const { return BoundPort(socket_); }

}  // namespace korvane
