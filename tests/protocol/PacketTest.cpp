#include "protocol/Packet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Zeros(std::size_t count) { return Bytes(count, 0); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Builds with builder, stamps with tag, returns the packet's bytes.
template <typename Builder>
Bytes Built(Builder builder, std::uint32_t tag = 0x1234) {
  std::array<std::uint8_t, kMaxPacket> buffer;
  buffer.fill(0xEE);  // builders must clear what they do not fill
  const int payload = builder(std::span<std::uint8_t>(buffer));
  StampPacket(buffer, payload, tag);
  return Bytes(buffer.begin(), buffer.begin() + payload + kPacketOverhead);
}

const AddressText kOwn = MakeFixedText<16>("10.0.0.1");  // 8 characters
const AddressText kPeer = MakeFixedText<16>("192.168.100.200");
const HandleText kBob = MakeFixedText<50>("bob");
const Bytes kTag = {0x34, 0x12, 0, 0};
const Bytes kCrLf = {'\r', '\n'};
const Bytes kOwnField = Cat({Ascii("10.0.0.1"), Zeros(8)});
const Bytes kPeerField = Cat({Ascii("192.168.100.200"), Zeros(1)});
const Bytes kBobField = Cat({Ascii("bob"), Zeros(47)});

TEST(Packet, EveryKindIsByteExact) {
  EXPECT_EQ(Built([](auto p) { return BuildHello(p, kOwn, kBob); }),
            Cat({kTag, Ascii("0010"), kOwnField, kBobField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildHelloReply(p, kOwn, kPeer, kBob); }),
            Cat({kTag, Ascii("0011"), kOwnField, kPeerField, kBobField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildBye(p, kOwn); }),
            Cat({kTag, Ascii("0020"), kOwnField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildLogoutRequest(p, kPeer); }),
            Cat({kTag, Ascii("0050"), kPeerField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildHealthQuery(p, kOwn); }),
            Cat({kTag, Ascii("0060"), kOwnField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildHealthReply(p, kOwn, kPeer, kBob); }),
            Cat({kTag, Ascii("0061"), kOwnField, kPeerField, kBobField, kCrLf}));
  EXPECT_EQ(Built([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, Ascii("hello")); }),
            Cat({kTag, Ascii("0040"), kOwnField, Zeros(16), kBobField, Ascii("hello"), kCrLf}));
  EXPECT_EQ(Built([](auto p) {
              const int payload = BuildChat(p, code::kSlMsg, kOwn, kBob, Ascii("hi"));
              SetTarget(p, kPeer);
              return payload;
            }),
            Cat({kTag, Ascii("0030"), kOwnField, kPeerField, kBobField, Ascii("hi"), kCrLf}));
}

TEST(Packet, SizesOfTheFixedKindsAndOfChat) {
  EXPECT_EQ(Built([](auto p) { return BuildHello(p, kOwn, kBob); }).size(), 76u);
  EXPECT_EQ(Built([](auto p) { return BuildHelloReply(p, kOwn, kPeer, kBob); }).size(), 92u);
  EXPECT_EQ(Built([](auto p) { return BuildBye(p, kOwn); }).size(), 26u);

  const Bytes fiveBytes = Built([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, Ascii("12345")); });
  ASSERT_EQ(fiveBytes.size(), 97u);
  EXPECT_EQ(Bytes(fiveBytes.begin() + 24, fiveBytes.begin() + 40), Zeros(16));
  EXPECT_EQ(fiveBytes[95], '\r');
  EXPECT_EQ(fiveBytes[96], '\n');

  const Bytes empty = Built([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, {}); });
  ASSERT_EQ(empty.size(), 92u);
  EXPECT_EQ(empty[90], '\r');
}

TEST(Packet, TagIsLittleEndianInTheFirstFourBytes) {
  const Bytes packet = Built([](auto p) { return BuildBye(p, kOwn); }, 32767);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 4), (Bytes{0xFF, 0x7F, 0, 0}));
  EXPECT_EQ(PacketView(packet).Tag(), 32767u);
}

TEST(PacketView, ReadsTheFieldsOfAWholePacket) {
  const Bytes packet = Built([](auto p) {
    const int payload = BuildChat(p, code::kSlMsg, kOwn, kBob, Ascii("text"));
    SetTarget(p, kPeer);
    return payload;
  });
  const PacketView view(packet);
  EXPECT_TRUE(view.HasCode(code::kSlMsg));
  EXPECT_FALSE(view.HasCode(code::kBcMsg));
  EXPECT_EQ(view.Address(), kOwn);
  EXPECT_EQ(view.Target(), kPeer);
  EXPECT_EQ(view.Handle(), kBob);
  EXPECT_EQ(view.Text(), "text");
}

TEST(PacketView, TextEndsAtCrZeroOrByte5000) {
  Bytes packet = Cat({Zeros(90), Ascii("before\rafter\r\n")});
  EXPECT_EQ(PacketView(packet).Text(), "before");
  packet = Cat({Zeros(90), Ascii("ab"), Zeros(1), Ascii("cd")});
  EXPECT_EQ(PacketView(packet).Text(), "ab");
  packet = Cat({Zeros(90), Bytes(6000, 'x')});
  EXPECT_EQ(PacketView(packet).Text().size(), 5000u - 90u);
  packet = Cat({Zeros(90), Ascii("\r\n")});
  EXPECT_EQ(PacketView(packet).Text(), "");
}

TEST(PacketView, NeverReadsPastTheBytesThatArrived) {
  // A packet cut inside its Address: the missing bytes read as zero.
  const Bytes full = Built([](auto p) { return BuildHealthReply(p, kOwn, kPeer, kBob); });
  const PacketView cut{std::span<const std::uint8_t>(full).first(12)};
  EXPECT_EQ(TextOf(cut.Address()), "10.0");
  EXPECT_EQ(TextOf(cut.Target()), "");
  EXPECT_EQ(TextOf(cut.Handle()), "");
  EXPECT_EQ(cut.Text(), "");

  const PacketView tiny{std::span<const std::uint8_t>(full).first(6)};
  EXPECT_FALSE(tiny.HasCode(code::kRspHlthy));
  EXPECT_EQ(tiny.Tag(), 0x1234u);

  // Fields without a zero byte end at their width.
  const Bytes noTerminators(200, 'A');
  EXPECT_EQ(TextOf(PacketView(noTerminators).Address()).size(), 16u);
  EXPECT_EQ(TextOf(PacketView(noTerminators).Handle()).size(), 50u);
  EXPECT_EQ(PacketView(noTerminators).Text().size(), 110u);
}

TEST(FixedText, ComparesWholeStrings) {
  EXPECT_FALSE(SameText(MakeFixedText<16>("10.0.0.1"), MakeFixedText<16>("10.0.0.12")));
  EXPECT_FALSE(SameText(MakeFixedText<50>("bob"), MakeFixedText<50>("bobby")));
  AddressText dirty = MakeFixedText<16>("10.0.0.1");
  dirty[12] = 'x';  // garbage after the terminator does not count
  EXPECT_TRUE(SameText(dirty, MakeFixedText<16>("10.0.0.1")));
  EXPECT_EQ(TextOf(MakeFixedText<16>("0123456789abcdefXYZ")), "0123456789abcde");
}

}  // namespace
}  // namespace korvane
