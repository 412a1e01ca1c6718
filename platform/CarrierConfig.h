// SPDX-License-Identifier: MIT
#pragma once
// Where the two carriers listen and send. The program fills it from the host; tests fill it
// with loopback values so that no datagram leaves the machine.

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

struct Ipv4Endpoint {
  std::string address;  // dotted decimal
  std::uint16_t port = 0;
};

struct CarrierConfig {
  // Read end of the broadcast carrier; a bound port of 0 lets the system choose (tests).
  std::string slotAddress = "0.0.0.0";
  std::uint16_t slotPort = 9829;
  // Port of the unicast carrier, on both ends.
  std::uint16_t udpPort = 9828;
  // Where each broadcast goes. Empty: port slotPort at the broadcast address of every up,
  // broadcast-capable, non-loopback IPv4 interface, or 127.255.255.255 without one.
  std::vector<Ipv4Endpoint> broadcastDestinations;
};

}  // namespace korvane
