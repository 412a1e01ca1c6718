// SPDX-License-Identifier: MIT
#pragma once
// What the host's IPv4 interfaces offer the carriers.

#include <string>
#include <vector>

#include "platform/AddressChoice.h"

namespace korvane {

// Broadcast addresses of the interfaces that reach a LAN, in the order the system lists them.
std::vector<std::string> InterfaceBroadcastAddresses();

// Every IPv4 address of every interface, in the order the system lists them.
std::vector<NetworkInterface> ListInterfaces();

}  // namespace korvane
