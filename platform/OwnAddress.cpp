// SPDX-License-Identifier: MIT
#include "platform/OwnAddress.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/Interfaces.h"
#include "platform/Ipv4.h"
#include "platform/UniqueFd.h"

namespace korvane {
namespace {

std::string HostNameAddress() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) return {};
  const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return FormatIpv4(address);
}

// The source the kernel picks for a destination beyond every local network: connecting a
// UDP socket chooses the route and sends nothing.
std::string DefaultRouteSource() {
  const UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const auto beyond = MakeSocketAddress("192.0.2.1", 9);  // documentation range, never local
  if (!socket.Valid() ||
      ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&*beyond), sizeof *beyond) != 0)
    return {};
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&local), &size) != 0) return {};
  return FormatIpv4(local.sin_addr);
}

}  // namespace

HostAddresses ReadHostAddresses() {
  HostAddresses host{ListInterfaces(), DefaultRouteSource(), {}};
  if (std::none_of(host.interfaces.begin(), host.interfaces.end(), ReachesLan))
    host.hostNameAddress = HostNameAddress();
  return host;
}

}  // namespace korvane
