// The carriers on real sockets over loopback.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/BroadcastWriter.h"
#include "tests/support/Loopback.h"

namespace korvane {
namespace {

using test::Bytes;

TEST(BroadcastSlot, OnlyOneCopyCanHoldThePort) {
  auto first = test::OpenLoopbackSlot("0.0.0.0");
  ASSERT_NE(first, nullptr);
  CarrierConfig same;
  same.slotPort = first->Port();
  EXPECT_EQ(BroadcastSlot::Open(same), nullptr);
  same.slotAddress = "127.0.0.1";
  EXPECT_EQ(BroadcastSlot::Open(same), nullptr);
}

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

TEST(SocketBroadcastWriter, ReachesEveryDestinationAndFailsWhenNoneIsReached) {
  auto first = test::OpenLoopbackSlot();
  auto second = test::OpenLoopbackSlot();
  CarrierConfig both{.broadcastDestinations = {{"127.0.0.1", first->Port()}, {"127.0.0.1", second->Port()}}};
  EXPECT_EQ(SocketBroadcastWriter(both).Write(Bytes(76, 'p')), BroadcastResult::Sent);
  int nextSize = 0, count = 0;
  for (auto* slot : {first.get(), second.get()})
    EXPECT_TRUE(test::WaitUntil([&] { return slot->GetInfo(&nextSize, &count) && nextSize == 76; }));
  CarrierConfig nowhere{.broadcastDestinations = {{"127.0.0.1", 0}, {"not an address", 9829}}};
  EXPECT_EQ(SocketBroadcastWriter(nowhere).Write(Bytes(76, 'p')), BroadcastResult::WriteFailed);
}

}  // namespace
}  // namespace korvane
