#pragma once
// What the host's IPv4 interfaces offer the carriers.

#include <arpa/inet.h>

#include <optional>
#include <vector>

namespace korvane {

// Broadcast addresses of the up, broadcast-capable, non-loopback IPv4 interfaces, in the
// order the system lists them.
std::vector<in_addr> InterfaceBroadcastAddresses();

// Address of the first up, non-loopback IPv4 interface.
std::optional<in_addr> FirstInterfaceAddress();

}  // namespace korvane
