#include "platform/Interfaces.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <memory>

namespace korvane {
namespace {

struct FreeIfAddrs {
  void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

std::unique_ptr<ifaddrs, FreeIfAddrs> ListInterfaces() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return nullptr;
  return std::unique_ptr<ifaddrs, FreeIfAddrs>(list);
}

bool IsUpIpv4NonLoopback(const ifaddrs& entry) {
  return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == AF_INET &&
         (entry.ifa_flags & IFF_UP) && !(entry.ifa_flags & IFF_LOOPBACK);
}

in_addr Ipv4Of(const sockaddr* address) {
  return reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
}

}  // namespace

std::vector<in_addr> InterfaceBroadcastAddresses() {
  std::vector<in_addr> result;
  const auto list = ListInterfaces();
  for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
    if (IsUpIpv4NonLoopback(*entry) && (entry->ifa_flags & IFF_BROADCAST) &&
        entry->ifa_broadaddr != nullptr)
      result.push_back(Ipv4Of(entry->ifa_broadaddr));
  }
  return result;
}

std::optional<in_addr> FirstInterfaceAddress() {
  const auto list = ListInterfaces();
  for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
    if (IsUpIpv4NonLoopback(*entry)) return Ipv4Of(entry->ifa_addr);
  }
  return std::nullopt;
}

}  // namespace korvane
