// SPDX-License-Identifier: MIT
#include "platform/AddressChoice.h"

#include <algorithm>

#include "platform/Ipv4.h"

namespace korvane {
namespace {

// How well an address serves as the own one, best first.
enum Rank { kNamed, kRouteSource, kPhysicalLan, kLan, kHeldElsewhere, kNotHeld };

Rank RankOf(const NetworkInterface& interface, const HostAddresses& host, const std::string& named) {
  if (!interface.up) return kNotHeld;
  if (interface.address == named) return kNamed;
  if (!ReachesLan(interface)) return kHeldElsewhere;
  if (interface.address == host.routeSource) return kRouteSource;
  return interface.physical ? kPhysicalLan : kLan;
}

// The best rank of an interface holding address.
Rank RankOf(const std::string& address, const HostAddresses& host, const std::string& named) {
  Rank best = kNotHeld;
  for (const NetworkInterface& interface : host.interfaces)
    if (interface.address == address) best = std::min(best, RankOf(interface, host, named));
  return best;
}

}  // namespace

bool ReachesLan(const NetworkInterface& interface) {
  return interface.up && interface.broadcast && !interface.loopback;
}

std::string ChooseOwnAddress(const HostAddresses& host, const std::string& named) {
  const NetworkInterface* best = nullptr;
  for (const NetworkInterface& interface : host.interfaces) {
    if (RankOf(interface, host, named) <= kLan &&
        (best == nullptr || RankOf(interface, host, named) < RankOf(*best, host, named)))
      best = &interface;
  }
  if (best != nullptr) return best->address;
  if (!host.hostNameAddress.empty() && !IsLoopback(host.hostNameAddress))
    return host.hostNameAddress;
  return "127.0.0.1";
}

std::optional<std::string> AddressToFollow(const HostAddresses& host, const std::string& named,
                                           const std::string& current) {
  const std::string chosen = ChooseOwnAddress(host, named);
  const Rank now = RankOf(current, host, named), next = RankOf(chosen, host, named);
  // A better address is taken at once. One that is gone is replaced by a network only: a
  // bridge or the host name would be left again as soon as the link came back.
  if (next < now && (now != kNotHeld || next <= kPhysicalLan)) return chosen;
  return std::nullopt;
}

}  // namespace korvane
