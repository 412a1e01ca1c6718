// The carriers on real sockets over loopback.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/BroadcastWriter.h"
#include "tests/support/Loopback.h"

namespace korvane {
namespace {

using test::Bytes;

// A plain sender for datagrams of any size.
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

TEST(BroadcastSlot, CountsWaitingMessagesAndReadsThemInOrder) {
  auto slot = test::OpenLoopbackSlot();
  auto sender = Sender();
  const Bytes big(1024, 'B'), small(10, 's'), empty;
  for (const Bytes* message : {&big, &small, &empty}) sender->SendTo(*message, "127.0.0.1", slot->Port());

  const auto messages = test::ReadSlot(*slot, 3);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], big);
  EXPECT_EQ(messages[1], small);
  EXPECT_EQ(messages[2], empty);

  int nextSize = 0, count = 0;
  ASSERT_TRUE(slot->GetInfo(&nextSize, &count));
  EXPECT_EQ(nextSize, BroadcastSlot::kNoMessage);
  EXPECT_EQ(count, 0);
}

TEST(BroadcastSlot, DropsMessagesOverTheBufferWithoutJamming) {
  auto slot = test::OpenLoopbackSlot();
  auto sender = Sender();
  sender->SendTo(Bytes(1025, 'x'), "127.0.0.1", slot->Port());
  sender->SendTo(Bytes(5010, 'y'), "127.0.0.1", slot->Port());
  sender->SendTo(Bytes(26, 'z'), "127.0.0.1", slot->Port());

  const auto messages = test::ReadSlot(*slot, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], Bytes(26, 'z'));
}

TEST(BroadcastSlot, AMessageTooBigForTheReadersBufferStaysWaiting) {
  auto slot = test::OpenLoopbackSlot();
  Sender()->SendTo(Bytes(100, 'm'), "127.0.0.1", slot->Port());
  int nextSize = 0, count = 0;
  for (int i = 0; i < 1000 && count == 0; ++i) slot->GetInfo(&nextSize, &count);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(nextSize, 100);

  std::uint8_t small[50];
  EXPECT_EQ(slot->Read(small, sizeof small), -1);
  std::uint8_t enough[100];
  EXPECT_EQ(slot->Read(enough, sizeof enough), 100);
}

TEST(BroadcastSlot, ClosedSlotFailsItsQueries) {
  auto slot = test::OpenLoopbackSlot();
  int nextSize = 0, count = 0;
  EXPECT_TRUE(slot->GetInfo(&nextSize, &count));
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
  int size = 0;
  std::vector<int> results;
  for (int i = 0; i < 2000 && size != 26; ++i) {
    size = receiver->ReceiveFrom(buffer.data(), 1024);
    if (size != -1) results.push_back(size);
    if (size <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(size, 26);
  EXPECT_TRUE(std::all_of(buffer.begin() + 1024, buffer.end(), [](auto b) { return b == 0xAA; }));
  EXPECT_EQ(std::count_if(results.begin(), results.end(), [](int r) { return r > 0; }), 1);
}

TEST(UdpCarrier, ClosedCarrierNeitherSendsNorReceives) {
  auto receiver = UdpCarrier::Open("127.0.0.2", 0);
  auto sender = Sender();
  sender->Close();
  EXPECT_EQ(sender->SendTo(Bytes(26, 'a'), "127.0.0.2", receiver->Port()), -1);
  EXPECT_TRUE(test::ReadUdp(*receiver, 1, std::chrono::milliseconds(100)).empty());

  Sender()->SendTo(Bytes(26, 'b'), "127.0.0.2", receiver->Port());
  receiver->Close();
  EXPECT_TRUE(test::ReadUdp(*receiver, 1, std::chrono::milliseconds(100)).empty());
}

TEST(UdpCarrier, RefusesAddressesThatAreNotDottedDecimal) {
  EXPECT_EQ(Sender()->SendTo(Bytes(26, 'a'), "not an address", 9), -1);
  EXPECT_EQ(UdpCarrier::Open("999.0.0.1", 0), nullptr);
}

TEST(SocketBroadcastWriter, ReachesEveryDestination) {
  auto first = test::OpenLoopbackSlot();
  auto second = test::OpenLoopbackSlot();
  SocketBroadcastWriter writer(test::BroadcastTo({first.get(), second.get()}));
  const Bytes packet(76, 'p');
  EXPECT_EQ(writer.Write(packet), BroadcastResult::Sent);
  EXPECT_EQ(test::ReadSlot(*first, 1), std::vector<Bytes>{packet});
  EXPECT_EQ(test::ReadSlot(*second, 1), std::vector<Bytes>{packet});
}

TEST(SocketBroadcastWriter, FailsWhenNoDatagramGoesOut) {
  CarrierConfig config;
  config.broadcastDestinations = {{"127.0.0.1", 0}, {"not an address", 9829}};
  SocketBroadcastWriter writer(config);
  EXPECT_EQ(writer.Write(Bytes(26, 'p')), BroadcastResult::WriteFailed);
}

}  // namespace
}  // namespace korvane
