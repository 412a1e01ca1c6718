// SPDX-License-Identifier: MIT
#include "platform/Interfaces.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/Ipv4.h"

namespace korvane {
namespace {

struct FreeIfAddrs {
  void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

std::unique_ptr<ifaddrs, FreeIfAddrs> ReadIfAddrs() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return nullptr;
  return std::unique_ptr<ifaddrs, FreeIfAddrs>(list);
}

bool IsIpv4(const ifaddrs& entry) {
  return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == AF_INET;
}

in_addr Ipv4Of(const sockaddr* address) {
  return reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
}

// Network cards, on the bus or USB, have a device; bridges, tunnels, veth and the like none.
bool HasDevice(const char* name) {
  return ::access(("/sys/class/net/" + std::string(name) + "/device").c_str(), F_OK) == 0;
}

}  // namespace

std::vector<NetworkInterface> ListInterfaces() {
  std::vector<NetworkInterface> result;
  const auto list = ReadIfAddrs();
  for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
    if (!IsIpv4(*entry)) continue;
    const unsigned flags = entry->ifa_flags;
    const bool broadcast = (flags & IFF_BROADCAST) != 0 && entry->ifa_broadaddr != nullptr;
    result.push_back({entry->ifa_name, FormatIpv4(Ipv4Of(entry->ifa_addr)), (flags & IFF_UP) != 0,
                      broadcast, (flags & IFF_LOOPBACK) != 0, HasDevice(entry->ifa_name),
                      broadcast ? FormatIpv4(Ipv4Of(entry->ifa_broadaddr)) : std::string()});
  }
  return result;
}

std::vector<std::string> InterfaceBroadcastAddresses() {
  std::vector<std::string> result;
  for (const NetworkInterface& interface : ListInterfaces())
    if (ReachesLan(interface)) result.push_back(interface.broadcastAddress);
  return result;
}

}  // namespace korvane
