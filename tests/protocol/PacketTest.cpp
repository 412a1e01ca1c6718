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

const AddressText kOwn = MakeFixedText<16>("10.0.0.1");
const AddressText kPeer = MakeFixedText<16>("192.168.100.200");
const HandleText kBob = MakeFixedText<50>("bob");

TEST(Packet, EveryKindIsByteExact) {
  const Bytes tag = {0x34, 0x12, 0, 0}, crLf = {'\r', '\n'};
  const Bytes own = Cat({Ascii("10.0.0.1"), Zeros(8)}), peer = Cat({Ascii("192.168.100.200"), Zeros(1)});
  const Bytes bob = Cat({Ascii("bob"), Zeros(47)});
  const std::pair<Bytes, Bytes> cases[] = {
      {Built([](auto p) { return BuildHello(p, kOwn, kBob); }), Cat({tag, Ascii("0010"), own, bob, crLf})},
      {Built([](auto p) { return BuildHelloReply(p, kOwn, kPeer, kBob); }),
       Cat({tag, Ascii("0011"), own, peer, bob, crLf})},
      {Built([](auto p) { return BuildBye(p, kOwn); }), Cat({tag, Ascii("0020"), own, crLf})},
      {Built([](auto p) { return BuildLogoutRequest(p, kPeer); }), Cat({tag, Ascii("0050"), peer, crLf})},
      {Built([](auto p) { return BuildHealthQuery(p, kOwn); }), Cat({tag, Ascii("0060"), own, crLf})},
      {Built([](auto p) { return BuildHealthReply(p, kOwn, kPeer, kBob); }),
       Cat({tag, Ascii("0061"), own, peer, bob, crLf})},
      {Built([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, Ascii("hello")); }),
       Cat({tag, Ascii("0040"), own, Zeros(16), bob, Ascii("hello"), crLf})},
      {Built([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, {}); }),
       Cat({tag, Ascii("0040"), own, Zeros(16), bob, crLf})},
      {Built([](auto p) {
         const int payload = BuildChat(p, code::kSlMsg, kOwn, kBob, Ascii("hi"));
         SetTarget(p, kPeer);
         return payload;
       }),
       Cat({tag, Ascii("0030"), own, peer, bob, Ascii("hi"), crLf})},
  };
  for (const auto& [built, expected] : cases) EXPECT_EQ(built, expected);
}

TEST(PacketView, TextEndsAtCrZeroOrByte5000) {
  const std::pair<Bytes, std::string> cases[] = {
      {Cat({Zeros(90), Ascii("before\rafter\r\n")}), "before"},
      {Cat({Zeros(90), Ascii("ab"), Zeros(1), Ascii("cd")}), "ab"},
      {Cat({Zeros(90), Bytes(6000, 'x')}), std::string(5000 - 90, 'x')},
      {Cat({Zeros(90), Ascii("\r\n")}), ""},
      {Zeros(12), ""},
  };
  for (const auto& [packet, text] : cases) EXPECT_EQ(PacketView(packet).Text(), text);
}

TEST(PacketView, NeverReadsPastTheBytesThatArrivedNorPastAField) {
  const Bytes full = Built([](auto p) { return BuildHealthReply(p, kOwn, kPeer, kBob); });
  const PacketView cut{std::span<const std::uint8_t>(full).first(12)};
  EXPECT_EQ(TextOf(cut.Address()), "10.0");
  EXPECT_EQ(TextOf(cut.Handle()), "");
  const PacketView tiny{std::span<const std::uint8_t>(full).first(6)};
  EXPECT_FALSE(tiny.HasCode(code::kRspHlthy));
  EXPECT_EQ(tiny.Tag(), 0x1234u);
  EXPECT_EQ(PacketView(full).Tag(), 0x1234u);
  const Bytes noTerminators(200, 'A');
  EXPECT_EQ(TextOf(PacketView(noTerminators).Address()).size(), 16u);
  EXPECT_EQ(TextOf(PacketView(noTerminators).Handle()).size(), 50u);
}

TEST(FixedText, ComparesWholeStrings) {
  EXPECT_FALSE(SameText(MakeFixedText<16>("10.0.0.1"), MakeFixedText<16>("10.0.0.12")));
  AddressText dirty = MakeFixedText<16>("10.0.0.1");
  dirty[12] = 'x';  // garbage after the terminator does not count
  EXPECT_TRUE(SameText(dirty, MakeFixedText<16>("10.0.0.1")));
  EXPECT_EQ(TextOf(MakeFixedText<16>("0123456789abcdefXYZ")), "0123456789abcde");
}

}  // namespace
}  // namespace korvane
