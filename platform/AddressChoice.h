// SPDX-License-Identifier: MIT
#pragma once
// Which of the host's IPv4 addresses this copy is reached at. A desktop may have container
// bridges, VPNs and docks besides its LAN: the address is the one the host really uses
// towards the network, not the first one listed.

#include <optional>
#include <string>
#include <vector>

namespace korvane {

struct NetworkInterface {
  std::string name;
  std::string address;  // dotted decimal
  bool up = false;
  bool broadcast = false;
  bool loopback = false;
  bool physical = false;  // a device behind it, unlike bridges, tunnels and virtual links
  std::string broadcastAddress;  // dotted decimal; "" when it has none
};

struct HostAddresses {
  std::vector<NetworkInterface> interfaces;  // in the order the system lists them
  std::string routeSource;      // the kernel's source address for the default route; "": none
  std::string hostNameAddress;  // the host name's address; "": not resolved
};

// Up, broadcast-capable and not loopback: an interface broadcasts reach others through.
bool ReachesLan(const NetworkInterface& interface);

// named, when an up interface holds it; else the default route's source, when a LAN
// interface holds it; else the first LAN interface's address, physical ones first; else the
// host name's address unless it is loopback; else "127.0.0.1".
std::string ChooseOwnAddress(const HostAddresses& host, const std::string& named = {});

// The address to move to from current, or nothing. A better choice is followed at once (a
// dock's link with the default route, the named address back). A current address that went
// is replaced only by a network (named, the route's source or a network card): while the
// link is down, a bridge, the host name or loopback would be left again when it returns.
std::optional<std::string> AddressToFollow(const HostAddresses& host, const std::string& named,
                                           const std::string& current);

}  // namespace korvane
