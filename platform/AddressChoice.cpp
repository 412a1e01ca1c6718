#include "platform/AddressChoice.h"

#include <algorithm>

namespace korvane {
namespace {

bool IsLoopbackText(const std::string& address) { return address.rfind("127.", 0) == 0; }

bool HoldsAddress(const HostAddresses& host, const std::string& address) {
  return std::any_of(host.interfaces.begin(), host.interfaces.end(), [&](const NetworkInterface& i) {
    return i.up && i.address == address;
  });
}

}  // namespace

bool ReachesLan(const NetworkInterface& interface) {
  return interface.up && interface.broadcast && !interface.loopback;
}

std::string ChooseOwnAddress(const HostAddresses& host, const std::string& named) {
  if (!named.empty() && HoldsAddress(host, named)) return named;
  const auto& interfaces = host.interfaces;
  if (std::any_of(interfaces.begin(), interfaces.end(), [&](const NetworkInterface& i) {
        return ReachesLan(i) && i.address == host.routeSource;
      }))
    return host.routeSource;
  for (const bool physicalOnly : {true, false}) {
    const auto lan = std::find_if(interfaces.begin(), interfaces.end(), [&](const NetworkInterface& i) {
      return ReachesLan(i) && (i.physical || !physicalOnly);
    });
    if (lan != interfaces.end()) return lan->address;
  }
  if (!host.hostNameAddress.empty() && !IsLoopbackText(host.hostNameAddress))
    return host.hostNameAddress;
  return "127.0.0.1";
}

std::optional<std::string> AddressToFollow(const HostAddresses& host, const std::string& named,
                                           const std::string& current) {
  std::string chosen = ChooseOwnAddress(host, named);
  if (chosen == current || IsLoopbackText(chosen)) return std::nullopt;
  return chosen;
}

}  // namespace korvane
