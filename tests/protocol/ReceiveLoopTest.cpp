#include "protocol/ReceiveLoop.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>

#include "tests/support/Loopback.h"

namespace korvane {
namespace {

using test::Bytes;
using namespace std::chrono_literals;

class RecordingLines : public LineSink {
 public:
  void ShowLine(const std::string& text, LineKind kind) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({text, kind});
  }
  std::vector<std::pair<std::string, LineKind>> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, LineKind>> lines_;
};

class ReceiveLoopTest : public testing::Test {
 protected:
  std::vector<Bytes> Dispatched() const {
    std::lock_guard lock(mutex);
    return dispatched;
  }

  void ToSlot(const Bytes& packet) { sender->SendTo(packet, "127.0.0.1", slot->Port()); }
  void ToUdp(const Bytes& packet) { sender->SendTo(packet, "127.0.0.2", udp->Port()); }
  // Loopback delivers at once; this only leaves room for a busy machine.
  static void LetArrive() { std::this_thread::sleep_for(50ms); }

  std::unique_ptr<BroadcastSlot> slot = test::OpenLoopbackSlot();
  std::unique_ptr<UdpCarrier> udp = UdpCarrier::Open("127.0.0.2", 0);
  std::unique_ptr<UdpCarrier> sender = UdpCarrier::Open("127.0.0.1", 0);
  RecordingLines lines;
  mutable std::mutex mutex;
  std::vector<Bytes> dispatched;
  ReceiveLoop loop{*slot, udp.get(), lines, [this](std::span<const std::uint8_t> packet) {
                     std::lock_guard lock(mutex);
                     dispatched.emplace_back(packet.begin(), packet.end());
                   }};
};

Bytes Packet(char fill, std::size_t size = 26) { return Bytes(size, static_cast<std::uint8_t>(fill)); }

TEST_F(ReceiveLoopTest, SamePacketByBothCarriersOrTwiceByBroadcastIsDispatchedOnce) {
  ToUdp(Packet('a'));
  ToSlot(Packet('a'));
  ToSlot(Packet('b'));
  ToSlot(Packet('b'));
  ToSlot(Packet('b'));  // a dropped repeat leaves the previous packet as it was
  LetArrive();
  ASSERT_TRUE(loop.RunCycle());
  EXPECT_EQ(Dispatched(), (std::vector<Bytes>{Packet('a'), Packet('b')}));
  // Every packet read leaves a trace line, repeats included.
  EXPECT_EQ(lines.Lines().size(), 5u);
  for (const auto& [text, kind] : lines.Lines()) {
    EXPECT_EQ(text, "------------");
    EXPECT_EQ(kind, LineKind::Trace);
  }
}

TEST_F(ReceiveLoopTest, RepeatThatIsNotAdjacentIsDispatchedAgain) {
  for (char fill : {'a', 'b', 'a'}) ToSlot(Packet(fill));
  LetArrive();
  loop.RunCycle();
  EXPECT_EQ(Dispatched(), (std::vector<Bytes>{Packet('a'), Packet('b'), Packet('a')}));
}

TEST_F(ReceiveLoopTest, OneCycleTakesOneDatagramThenEveryWaitingBroadcastInQueueOrder) {
  const std::vector<Bytes> broadcasts = {Packet('1', 26), Packet('2', 1024), Packet('3', 92),
                                         Packet('4', 76)};
  ToUdp(Packet('u', 97));
  ToUdp(Packet('v', 97));
  for (const Bytes& packet : broadcasts) ToSlot(packet);
  LetArrive();
  loop.RunCycle();
  std::vector<Bytes> expected = {Packet('u', 97)};
  expected.insert(expected.end(), broadcasts.begin(), broadcasts.end());
  EXPECT_EQ(Dispatched(), expected);

  loop.RunCycle();  // the second datagram waited for the next cycle
  EXPECT_EQ(Dispatched().back(), Packet('v', 97));
}

TEST_F(ReceiveLoopTest, AnyBytesOfAnyLengthReachTheDispatcherUnchanged) {
  std::mt19937 random(7);
  std::vector<Bytes> sent;
  for (std::size_t size : {1, 2, 25, 26, 91, 500, 1023, 1024}) {
    Bytes packet(size);
    for (auto& byte : packet) byte = static_cast<std::uint8_t>(random());
    packet[0] = static_cast<std::uint8_t>(sent.size() + 1);  // none equals the start of another
    sent.push_back(packet);
    ToSlot(packet);
  }
  ToSlot(Packet('x', 1025));  // too big: dropped by the carrier
  LetArrive();
  loop.RunCycle();
  EXPECT_EQ(Dispatched(), sent);
}

// The loop runs with a bound far beyond the asserted times, so a wait that the datagram or
// the close did not end fails the assertion rather than passing at the bound.
constexpr auto kLongWait = 5s;
constexpr auto kPrompt = 1s;  // a loaded machine's scheduling, not a polling period

TEST_F(ReceiveLoopTest, DatagramOnEitherCarrierEndsTheWaitAtOnce) {
  loop.Start(kLongWait);
  std::size_t expected = 0;
  for (const bool broadcast : {true, false}) {
    const auto sent = std::chrono::steady_clock::now();
    const Bytes packet = Packet(static_cast<char>('a' + expected));
    broadcast ? ToSlot(packet) : ToUdp(packet);
    ++expected;
    while (Dispatched().size() < expected && std::chrono::steady_clock::now() < sent + kLongWait)
      std::this_thread::sleep_for(1ms);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, kPrompt) << "datagram " << expected;
  }
  slot->Close();
}

TEST_F(ReceiveLoopTest, ClosingTheSlotEndsTheWaitingThreadAtOnce) {
  loop.Start(kLongWait);
  std::this_thread::sleep_for(20ms);  // let it reach its wait; ending sooner is no fault
  const auto closed = std::chrono::steady_clock::now();
  slot->Close();
  loop.Join();
  EXPECT_LT(std::chrono::steady_clock::now() - closed, kPrompt);
  const auto last = lines.Lines().back();
  EXPECT_EQ(last.first, "Already Mailslot was closed");
  EXPECT_EQ(last.second, LineKind::Trace);
}

TEST_F(ReceiveLoopTest, WithoutUnicastCarrierTheBroadcastsStillArrive) {
  ReceiveLoop broadcastOnly(*slot, nullptr, lines, [this](std::span<const std::uint8_t> packet) {
    std::lock_guard lock(mutex);
    dispatched.emplace_back(packet.begin(), packet.end());
  });
  ToSlot(Packet('a'));
  LetArrive();
  EXPECT_TRUE(broadcastOnly.RunCycle());
  EXPECT_EQ(Dispatched().size(), 1u);
}

TEST(RepeatFilter, ComparesOverTheNewPacketsLengthOnly) {
  RepeatFilter filter;
  const Bytes previous = {'A', 'B', 'C', 'D', 'E', 'F'};
  filter.Remember(previous);
  EXPECT_TRUE(filter.IsRepeat(previous));
  EXPECT_TRUE(filter.IsRepeat(Bytes{'A', 'B', 'C'}));  // a prefix counts as a repeat
  EXPECT_FALSE(filter.IsRepeat(Bytes{'A', 'B', 'X'}));
  EXPECT_FALSE(filter.IsRepeat(Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G'}));

  // Remembering a shorter packet clears what the longer one left behind.
  filter.Remember(Bytes{'X', 'Y'});
  EXPECT_FALSE(filter.IsRepeat(Bytes{'X', 'Y', 'C'}));
  EXPECT_TRUE(filter.IsRepeat(Bytes{'X', 'Y', 0, 0}));
  // Nothing remembered yet reads as zeros.
  EXPECT_TRUE(RepeatFilter().IsRepeat(Bytes(1024, 0)));
  // The whole of the largest packet is remembered.
  const Bytes largest(1024, 'L');
  filter.Remember(largest);
  EXPECT_TRUE(filter.IsRepeat(largest));
}

}  // namespace
}  // namespace korvane
