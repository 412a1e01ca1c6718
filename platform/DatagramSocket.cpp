// SPDX-License-Identifier: MIT
#include "platform/DatagramSocket.h"

#include <sys/socket.h>

#include "platform/Ipv4.h"

namespace korvane {

UniqueFd BindDatagramSocket(const std::string& address, std::uint16_t port) {
  const auto local = MakeSocketAddress(address, port);
  if (!local) return {};
  UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) return {};
  if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&*local), sizeof *local) != 0)
    return {};
  // Room for bursts (a thousand members answering at once); the kernel grants at most twice
  // net.core.rmem_max.
  const int bufferBytes = 8 << 20;
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
  return socket;
}

std::uint16_t BoundPort(const UniqueFd& socket) {
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
  return ntohs(local.sin_port);
}

int ReceiveDatagram(const UniqueFd& socket, std::uint8_t* buffer, int capacity) {
  // MSG_TRUNC reports the datagram's real length while writing at most capacity bytes.
  const ssize_t length = ::recv(socket.Get(), buffer, static_cast<size_t>(capacity),
                                MSG_TRUNC | MSG_DONTWAIT);
  if (length < 0) return kNothingWaiting;
  if (length > capacity) return kDroppedOversized;
  return static_cast<int>(length);
}

}  // namespace korvane
