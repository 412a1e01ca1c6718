// SPDX-License-Identifier: MIT
#include "platform/UdpCarrier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tests/support/Wait.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(UdpCarrier, DropsDatagramsOverTheBufferWithoutWritingPastIt) {
  auto receiver = UdpCarrier::Open("127.0.0.2", 0);
  auto sender = UdpCarrier::Open("127.0.0.1", 0);
  sender->SendTo(Bytes(1500, 'x'), "127.0.0.2", receiver->Port());
  sender->SendTo(Bytes(26, 'z'), "127.0.0.2", receiver->Port());
  std::array<std::uint8_t, 1024 + 16> buffer;
  buffer.fill(0xAA);
  int size = 0;
  test::WaitUntil([&] { return (size = receiver->ReceiveFrom(buffer.data(), 1024)) > 0; });
  EXPECT_EQ(size, 26);
  EXPECT_TRUE(std::all_of(buffer.begin() + 1024, buffer.end(), [](auto b) { return b == 0xAA; }));
}

}  // namespace
}  // namespace korvane
