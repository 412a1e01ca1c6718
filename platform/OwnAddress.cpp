#include "platform/OwnAddress.h"

#include <netdb.h>
#include <unistd.h>

#include <climits>
#include <optional>

#include "platform/Interfaces.h"
#include "platform/Ipv4.h"

namespace korvane {
namespace {

std::optional<in_addr> HostNameAddress() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
  const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return address;
}

}  // namespace

std::string ResolveOwnAddress() {
  if (const auto address = HostNameAddress(); address && !IsLoopback(*address))
    return FormatIpv4(*address);
  if (const auto address = FirstInterfaceAddress()) return FormatIpv4(*address);
  return "127.0.0.1";
}

}  // namespace korvane
