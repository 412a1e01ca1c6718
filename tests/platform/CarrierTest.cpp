// The carriers on real sockets over loopback.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/BroadcastWriter.h"
#include "tests/support/Loopback.h"

namespace korvane {
namespace {

using test::Bytes;

std::unique_ptr<UdpCarrier> Sender() { return UdpCarrier::Open("127.0.0.1", 0); }

TEST(BroadcastSlot, OnlyOneCopyCanHoldThePort) {
  auto first = test::OpenLoopbackSlot("0.0.0.0");
  ASSERT_NE(first, nullptr);
  CarrierConfig same;
  same.slotPort = first->Port();
  EXPECT_EQ(BroadcastSlot::Open(same), nullptr);
  same.slotAddress = "127.0.0.1";
  EXPECT_EQ(BroadcastSlot::Open(same), nullptr);
}

// Oversized messages are dropped whole; a message larger than the reader's buffer waits.
TEST(BroadcastSlot, CountsAndReadsInOrderWhatFitsItsBuffer) {
  auto slot = test::OpenLoopbackSlot();
  auto sender = Sender();
  const Bytes big(1024, 'B'), small(10, 's'), empty;
  for (const Bytes& message : {Bytes(1025, 'x'), big, Bytes(5010, 'y'), small, empty})
    sender->SendTo(message, "127.0.0.1", slot->Port());
  int nextSize = 0, count = 0;
  ASSERT_TRUE(test::WaitUntil([&] { return slot->GetInfo(&nextSize, &count) && count == 3; }));
  EXPECT_EQ(nextSize, 1024);
  std::uint8_t tooSmall[50];
  EXPECT_EQ(slot->Read(tooSmall, sizeof tooSmall), -1);
  EXPECT_EQ(test::ReadSlot(*slot, 3), (std::vector<Bytes>{big, small, empty}));
  ASSERT_TRUE(slot->GetInfo(&nextSize, &count));
  EXPECT_EQ(nextSize, BroadcastSlot::kNoMessage);
  EXPECT_EQ(count, 0);
  slot->Close();
  EXPECT_FALSE(slot->GetInfo(&nextSize, &count));
}

TEST(UdpCarrier, DropsDatagramsOverTheBufferWithoutWritingPastIt) {
  auto receiver = UdpCarrier::Open("127.0.0.2", 0);
  ASSERT_NE(receiver, nullptr);
  auto sender = Sender();
  sender->SendTo(Bytes(1500, 'x'), "127.0.0.2", receiver->Port());
  sender->SendTo(Bytes(26, 'z'), "127.0.0.2", receiver->Port());
  std::array<std::uint8_t, 1024 + 16> buffer;
  buffer.fill(0xAA);
  std::vector<int> sizes;
  test::WaitUntil([&] {
    if (const int size = receiver->ReceiveFrom(buffer.data(), 1024); size > 0) sizes.push_back(size);
    return !sizes.empty();
  });
  EXPECT_EQ(sizes, std::vector<int>{26});
  EXPECT_TRUE(std::all_of(buffer.begin() + 1024, buffer.end(), [](auto b) { return b == 0xAA; }));
}

TEST(UdpCarrier, ClosedOrMisaddressedCarrierNeitherSendsNorReceives) {
  auto receiver = UdpCarrier::Open("127.0.0.2", 0);
  auto sender = Sender();
  EXPECT_EQ(sender->SendTo(Bytes(26, 'a'), "not an address", 9), -1);
  EXPECT_EQ(UdpCarrier::Open("999.0.0.1", 0), nullptr);
  sender->Close();
  EXPECT_EQ(sender->SendTo(Bytes(26, 'a'), "127.0.0.2", receiver->Port()), -1);
  Sender()->SendTo(Bytes(26, 'b'), "127.0.0.2", receiver->Port());
  receiver->Close();
  EXPECT_TRUE(test::ReadUdp(*receiver, 1, std::chrono::milliseconds(50)).empty());
}

TEST(SocketBroadcastWriter, ReachesEveryDestinationAndFailsWhenNoneIsReached) {
  auto first = test::OpenLoopbackSlot();
  auto second = test::OpenLoopbackSlot();
  SocketBroadcastWriter writer(test::BroadcastTo({first.get(), second.get()}));
  const Bytes packet(76, 'p');
  EXPECT_EQ(writer.Write(packet), BroadcastResult::Sent);
  EXPECT_EQ(test::ReadSlot(*first, 1), std::vector<Bytes>{packet});
  EXPECT_EQ(test::ReadSlot(*second, 1), std::vector<Bytes>{packet});
  CarrierConfig nowhere;
  nowhere.broadcastDestinations = {{"127.0.0.1", 0}, {"not an address", 9829}};
  EXPECT_EQ(SocketBroadcastWriter(nowhere).Write(packet), BroadcastResult::WriteFailed);
}

}  // namespace
}  // namespace korvane
