#include "platform/OwnAddress.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "platform/Ipv4.h"

namespace korvane {
namespace {

TEST(OwnAddress, IsDottedDecimalAndNeverTheHostNamesLoopbackAlias) {
  const std::string address = ResolveOwnAddress();
  in_addr parsed{};
  ASSERT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
  EXPECT_LE(address.size(), 15u);
  // 127.0.0.1 is the last resort; Debian's 127.0.1.1 alias for the host name never is.
  EXPECT_TRUE(!IsLoopback(parsed) || address == "127.0.0.1") << address;
}

TEST(OwnAddress, FormatsMostSignificantByteFirstWithoutLeadingZeros) {
  in_addr address{};
  inet_pton(AF_INET, "10.0.7.200", &address);
  EXPECT_EQ(FormatIpv4(address), "10.0.7.200");
  inet_pton(AF_INET, "255.255.255.255", &address);
  EXPECT_EQ(FormatIpv4(address), "255.255.255.255");
}

}  // namespace
}  // namespace korvane
