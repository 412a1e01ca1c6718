#pragma once
// What the host's IPv4 interfaces offer the carriers.

#include <arpa/inet.h>

#include <vector>

#include "platform/AddressChoice.h"

namespace korvane {

// Broadcast addresses of the up, broadcast-capable, non-loopback IPv4 interfaces, in the
// order the system lists them.
std::vector<in_addr> InterfaceBroadcastAddresses();

// Every IPv4 address of every interface, in the order the system lists them.
std::vector<NetworkInterface> ListInterfaces();

}  // namespace korvane
