// SPDX-License-Identifier: MIT
// The parts that meet the system: which own address to take, the unicast carrier and the
// single-instance lock.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/AddressChoice.h"
#include "platform/CodePage.h"
#include "platform/Interfaces.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/UdpCarrier.h"
#include "tests/support/Wait.h"

namespace korvane {
namespace {

// name, address, up, broadcast, loopback, physical
const NetworkInterface kLo{"lo", "127.0.0.1", true, false, true, false, {}};
const NetworkInterface kDocker{"docker0", "172.17.0.1", true, true, false, false, {}};
const NetworkInterface kVpn{"tun0", "10.8.0.6", true, false, false, false, {}};
const NetworkInterface kEth{"eth0", "192.168.1.20", true, true, false, true, {}};
const NetworkInterface kWifi{"wlan0", "10.0.5.7", true, true, false, true, {}};
const NetworkInterface kEthDown{"eth0", "192.168.1.20", false, true, false, true, {}};

TEST(AddressChoice, TheDefaultRoutesSourceThenAPhysicalLanThenAnyLanThenTheHostName) {
  const std::tuple<const char*, HostAddresses, std::string, std::string> cases[] = {  // desktop, named, chosen
      {"a bridge listed first, the route through the LAN", {{kLo, kDocker, kEth}, "192.168.1.20", "127.0.1.1"}, "", "192.168.1.20"},
      {"a bridge alone", {{kLo, kDocker}, "", ""}, "", "172.17.0.1"},
      {"the route through a VPN", {{kLo, kEth, kVpn}, "10.8.0.6", ""}, "", "192.168.1.20"},
      {"only a VPN", {{kLo, kVpn}, "10.8.0.6", "127.0.1.1"}, "", "127.0.0.1"},
      {"only a VPN, the host name elsewhere", {{kLo, kVpn}, "10.8.0.6", "10.8.0.6"}, "", "10.8.0.6"},
      {"only loopback", {{kLo}, "", "127.0.1.1"}, "", "127.0.0.1"},
      {"two networks, the route through the second", {{kLo, kEth, kWifi}, "10.0.5.7", ""}, "", "10.0.5.7"},
      {"the route's interface is down", {{kLo, kEthDown, kDocker}, "192.168.1.20", ""}, "", "172.17.0.1"},
      {"a named address held", {{kLo, kDocker, kEth}, "192.168.1.20", ""}, "172.17.0.1", "172.17.0.1"},
      {"a named address nobody holds", {{kLo, kDocker, kEth}, "192.168.1.20", ""}, "10.9.9.9", "192.168.1.20"},
  };
  for (const auto& [desktop, host, named, chosen] : cases) EXPECT_EQ(ChooseOwnAddress(host, named), chosen) << desktop;
}

// A laptop: docked (eth0 takes the route), at home (only wlan0), its link down a moment.
TEST(AddressChoice, ABetterAddressIsFollowedAndAGoneOneReplacedByANetworkOnly) {
  const std::tuple<const char*, HostAddresses, std::string, std::string, std::optional<std::string>> cases[] = {  // change, named, current
      {"docked", {{kLo, kWifi, kEth}, "192.168.1.20", ""}, "", "10.0.5.7", "192.168.1.20"},
      {"woken at home", {{kLo, kDocker, kWifi}, "10.0.5.7", ""}, "", "192.168.1.20", "10.0.5.7"},
      {"at home still", {{kLo, kDocker, kWifi}, "10.0.5.7", ""}, "", "10.0.5.7", std::nullopt},
      {"the link down a moment", {{kLo, kDocker, kEthDown}, "", ""}, "", "192.168.1.20", std::nullopt},
      {"the network gone", {{kLo, kEthDown}, "", "127.0.1.1"}, "", "192.168.1.20", std::nullopt},
      {"a new lease, no gateway", {{kLo, kDocker, {"eth0", "192.168.1.30", true, true, false, true, {}}}, "", ""}, "", "192.168.1.20", "192.168.1.30"},
      {"the network after the bridge", {{kLo, kDocker, kEth}, "192.168.1.20", ""}, "", "172.17.0.1", "192.168.1.20"},
      {"the named address gone", {{kLo, kWifi}, "10.0.5.7", ""}, "192.168.1.20", "192.168.1.20", "10.0.5.7"},
  };
  for (const auto& [change, host, named, current, next] : cases)
    EXPECT_EQ(AddressToFollow(host, named, current), next) << change;
}

TEST(UdpCarrier, DropsDatagramsOverTheBufferWithoutWritingPastIt) {
  auto receiver = UdpCarrier::Open("127.0.0.2", 0);
  auto sender = UdpCarrier::Open("127.0.0.1", 0);
  sender->SendTo(std::vector<std::uint8_t>(1500, 'x'), "127.0.0.2", receiver->Port());
  sender->SendTo(std::vector<std::uint8_t>(26, 'z'), "127.0.0.2", receiver->Port());
  std::array<std::uint8_t, 1024 + 16> buffer;
  buffer.fill(0xAA);
  int size = 0;
  test::WaitUntil([&] { return (size = receiver->ReceiveFrom(buffer.data(), 1024)) > 0; });
  EXPECT_EQ(size, 26);
  EXPECT_TRUE(std::all_of(buffer.begin() + 1024, buffer.end(), [](auto b) { return b == 0xAA; }));
  receiver->Close();  // what arrives after is left unread
  sender->SendTo(std::vector<std::uint8_t>(26, 'z'), "127.0.0.2", receiver->Port());
  EXPECT_EQ(receiver->ReceiveFrom(buffer.data(), 1024), -1);
}

TEST(Interfaces, LoopbackIsListedUpAndWithoutADevice) {
  const auto lo = [](const NetworkInterface& i) { return i.address == "127.0.0.1" && i.up && i.loopback && !i.physical; };
  EXPECT_TRUE(std::ranges::any_of(ListInterfaces(), lo));
}

// Code page 932's own characters where plain Shift_JIS differs; each character it lacks, of
// any length, becomes one '?', as does a stray byte.
TEST(CodePage, Utf8ToCp932KeepsItsOwnCharactersAndMarksEachOtherOnce) {
  const std::pair<std::string, std::string> cases[] = {
      {"～∥－¬①㈱", "\x81\x60\x81\x61\x81\x7C\x81\xCA\x87\x40\x87\x8A"},
      {"é|ࠀ|😀|\x80|\xE0", "?|?|?|?|?"},
  };
  for (const auto& [utf8, cp932] : cases) EXPECT_EQ(Utf8ToCp932(utf8), cp932) << utf8;
}

// Held: refused; its holder gone: free again (the kernel frees the name however a process
// ends, a crash included).
TEST(SingleInstanceGuard, IsHeldUntilItsHolderEnds) {
  const std::string name = "KorvaneTest-" + std::to_string(::getpid());
  std::optional<SingleInstanceGuard> held(name);
  EXPECT_FALSE(held->AlreadyRunning());
  EXPECT_TRUE(SingleInstanceGuard(name).AlreadyRunning());
  held.reset();
  EXPECT_FALSE(SingleInstanceGuard(name).AlreadyRunning());
}

}  // namespace
}  // namespace korvane
