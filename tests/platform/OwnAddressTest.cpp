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
  EXPECT_EQ(FormatIpv4(parsed), address);
  // 127.0.0.1 is the last resort; Debian's 127.0.1.1 alias for the host name never is.
  EXPECT_TRUE(!IsLoopback(parsed) || address == "127.0.0.1") << address;
}

}  // namespace
}  // namespace korvane
