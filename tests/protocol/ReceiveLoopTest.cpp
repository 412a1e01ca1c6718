// SPDX-License-Identifier: MIT
#include "protocol/ReceiveLoop.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>

#include "platform/BroadcastSlot.h"
#include "tests/support/Loopback.h"

namespace korvane {
namespace {

using test::Bytes;
using namespace std::chrono_literals;

class ReceiveLoopTest : public testing::Test, public LineSink {
 protected:
  void ShowLine(const std::string& text, LineKind kind) override {
    std::lock_guard lock(mutex);
    lines.push_back(kind == LineKind::Trace ? text : "not a trace: " + text);
  }
  bool TakesTraces() const override { return takesTraces; }
  void BeginPacketLines() override { ++openPackets; }
  void EndPacketLines() override { --openPackets; }
  std::vector<Bytes> Dispatched() const {
    std::lock_guard lock(mutex);
    return dispatched;
  }
  void ToSlot(const Bytes& packet) { sender->SendTo(packet, "127.0.0.1", slot->Port()); }

  std::unique_ptr<BroadcastSlot> slot =
      BroadcastSlot::Open({.slotAddress = "127.0.0.1", .slotPort = 0, .broadcastDestinations = {}});
  std::unique_ptr<UdpCarrier> udp = UdpCarrier::Open("127.0.0.2", 0);
  std::unique_ptr<UdpCarrier> sender = UdpCarrier::Open("127.0.0.1", 0);
  mutable std::mutex mutex;
  std::vector<std::string> lines;
  std::vector<Bytes> dispatched;
  bool takesTraces = true;
  int openPackets = 0;
  ReceiveLoop loop{*slot, udp.get(), *this, [this](std::span<const std::uint8_t> packet) {
                     std::lock_guard lock(mutex);
                     dispatched.emplace_back(packet.begin(), packet.end());
                   }};
};

Bytes Packet(char fill, std::size_t size = 26) { return Bytes(size, static_cast<std::uint8_t>(fill)); }

// Bytes unchanged, in queue order, over several of the slot's batches; only a packet
// repeating the one before it (on either carrier) is dropped, yet traced like every packet
// read; with no taker for traces, none is made. (What counts as a repeat, a prefix of the
// one before or zeros at the start, and that a cycle takes at most one datagram, are fuzzed.)
TEST_F(ReceiveLoopTest, OneCycleTakesOneDatagramThenEveryWaitingBroadcastDroppingRepeats) {
  std::mt19937 random(7);
  std::vector<Bytes> sent = {Packet('a'), Packet('b'), Packet('a')};
  for (std::size_t size : {1, 2, 25, 91, 500, 1023, 1024}) {
    Bytes packet(size);
    for (auto& byte : packet) byte = static_cast<std::uint8_t>(random());
    packet[0] = static_cast<std::uint8_t>(sent.size());  // none equals the start of another
    sent.push_back(packet);
  }
  sender->SendTo(Packet('a'), "127.0.0.2", udp->Port());
  for (char fill : {'a', 'b', 'b', 'a'}) ToSlot(Packet(fill));
  for (std::size_t i = 3; i < sent.size(); ++i) ToSlot(sent[i]);
  ToSlot(sent.back());  // the longest, repeated whole
  ToSlot(Packet('x', 1025));  // too big: dropped by the carrier
  // Short and long by turns, each long one the short one before it with the tail of the long
  // one before that: it repeats nothing, though a filter left with that tail would say so.
  for (int i = 0; i < 70; ++i) {
    sent.push_back(i % 2 == 0 ? Packet(static_cast<char>(100 + i), 20) : sent.back());
    if (i % 2 == 1) sent.back().resize(600, 'L');
    ToSlot(sent.back());
  }
  std::this_thread::sleep_for(50ms);  // loopback delivers at once: room for a busy machine
  ASSERT_TRUE(loop.RunCycle());
  EXPECT_EQ(Dispatched(), sent);
  EXPECT_EQ(lines, std::vector<std::string>(sent.size() + 3, "------------"));
  EXPECT_EQ(openPackets, 0);  // a log holding its name for a packet lets go of it after
  const std::size_t traced = lines.size();
  takesTraces = false;
  // A reader that stops part way leaves the rest in the slot's ring; new arrivals then fill
  // it round its end.
  const auto send = [&](int count) {
    for (int i = 0; i < count; ++i) ToSlot(sent.emplace_back(Packet('a' + sent.size() % 2, 30 + sent.size() % 7)));
  };
  send(1000);
  int size = 0, count = 0;
  ASSERT_TRUE(test::WaitUntil([&] { return slot->GetInfo(&size, &count) && count == 1000; }));
  std::vector<Bytes> read = Dispatched();
  const std::size_t before = read.size();
  for (int i = 0; i < 990; ++i) {
    Bytes& packet = read.emplace_back(kMaxDatagram);
    packet.resize(static_cast<std::size_t>(slot->Read(packet.data(), kMaxDatagram)));
  }
  send(100);
  test::WaitUntil([&] { return loop.RunCycle() && read.size() + Dispatched().size() - before == sent.size(); });
  const std::vector<Bytes> rest = Dispatched();
  read.insert(read.end(), rest.begin() + static_cast<std::ptrdiff_t>(before), rest.end());
  EXPECT_EQ(read, sent);
  EXPECT_EQ(lines.size(), traced);
}

// The loop runs with a bound far beyond the asserted times, so a wait that the datagram or
// the close did not end fails the assertion rather than passing at the bound.
TEST_F(ReceiveLoopTest, ADatagramOnEitherCarrierOrTheCloseEndsTheWaitAtOnce) {
  constexpr auto kLongWait = 5s;
  constexpr auto kPrompt = 1s;  // a loaded machine's scheduling, not a polling period
  loop.Start(kLongWait);
  // A broadcast, a datagram, and one to the address the unicast socket was bound to anew
  // while the loop waited on the old one.
  for (const std::string to : {"slot", "127.0.0.2", "127.0.0.3"}) {
    std::this_thread::sleep_for(20ms);  // let it reach its wait again; ending sooner is no fault
    ASSERT_TRUE(to != "127.0.0.3" || udp->Bind(to));
    const auto sent = std::chrono::steady_clock::now();
    const std::size_t before = Dispatched().size();
    if (to == "slot") ToSlot(Packet('b'));
    else sender->SendTo(Packet(to.back()), to, udp->Port());
    test::WaitUntil([&] { return Dispatched().size() > before; }, kLongWait);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, kPrompt) << to;
  }
  std::this_thread::sleep_for(20ms);
  const auto closed = std::chrono::steady_clock::now();
  slot->Close();
  loop.Join();
  EXPECT_LT(std::chrono::steady_clock::now() - closed, kPrompt);
  EXPECT_EQ(lines.back(), "Already Mailslot was closed");
}

}  // namespace
}  // namespace korvane
