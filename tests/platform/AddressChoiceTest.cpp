#include "platform/AddressChoice.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

// name, address, up, broadcast, loopback, physical
const NetworkInterface kLo{"lo", "127.0.0.1", true, false, true, false};
const NetworkInterface kDocker{"docker0", "172.17.0.1", true, true, false, false};
const NetworkInterface kVpn{"tun0", "10.8.0.6", true, false, false, false};
const NetworkInterface kEth{"eth0", "192.168.1.20", true, true, false, true};
const NetworkInterface kWifi{"wlan0", "10.0.5.7", true, true, false, true};
const NetworkInterface kEthDown{"eth0", "192.168.1.20", false, true, false, true};

TEST(AddressChoice, TheDefaultRoutesSourceThenAPhysicalLanThenAnyLanThenTheHostName) {
  const struct {
    const char* desktop;
    HostAddresses host;
    std::string named;
    std::string chosen;
  } cases[] = {
      {"a bridge listed first, the route through the LAN", {{kLo, kDocker, kEth}, "192.168.1.20", "127.0.1.1"}, "", "192.168.1.20"},
      {"a bridge listed first, no route", {{kLo, kDocker, kEth}, "", ""}, "", "192.168.1.20"},
      {"a bridge alone", {{kLo, kDocker}, "", ""}, "", "172.17.0.1"},
      {"the route through a VPN", {{kLo, kEth, kVpn}, "10.8.0.6", ""}, "", "192.168.1.20"},
      {"only a VPN", {{kLo, kVpn}, "10.8.0.6", "127.0.1.1"}, "", "127.0.0.1"},
      {"only a VPN, the host name elsewhere", {{kLo, kVpn}, "10.8.0.6", "10.8.0.6"}, "", "10.8.0.6"},
      {"only loopback", {{kLo}, "", "127.0.1.1"}, "", "127.0.0.1"},
      {"two networks, the route through the second", {{kLo, kEth, kWifi}, "10.0.5.7", ""}, "", "10.0.5.7"},
      {"two networks, no route", {{kLo, kEth, kWifi}, "", ""}, "", "192.168.1.20"},
      {"the route's interface is down", {{kLo, kEthDown, kDocker}, "192.168.1.20", ""}, "", "172.17.0.1"},
      {"a named address held", {{kLo, kDocker, kEth}, "192.168.1.20", ""}, "172.17.0.1", "172.17.0.1"},
      {"a named address nobody holds", {{kLo, kDocker, kEth}, "192.168.1.20", ""}, "10.9.9.9", "192.168.1.20"},
      {"a named address that is down", {{kLo, kEthDown, kWifi}, "10.0.5.7", ""}, "192.168.1.20", "10.0.5.7"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseOwnAddress(c.host, c.named), c.chosen) << c.desktop;
}

TEST(AddressChoice, AChangeIsFollowedUnlessTheNetworkIsOnlyGone) {
  const HostAddresses home{{kLo, kWifi}, "10.0.5.7", ""}, offline{{kLo, kEthDown}, "", "127.0.1.1"};
  EXPECT_EQ(AddressToFollow(home, "", "192.168.1.20"), "10.0.5.7");
  EXPECT_EQ(AddressToFollow(home, "", "10.0.5.7"), std::nullopt);
  EXPECT_EQ(AddressToFollow(offline, "", "192.168.1.20"), std::nullopt);
  EXPECT_EQ(AddressToFollow(home, "192.168.1.20", "192.168.1.20"), "10.0.5.7");  // the named one went
}

}  // namespace
}  // namespace korvane
