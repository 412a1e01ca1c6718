// SPDX-License-Identifier: MIT
#include "protocol/Packet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Packets.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

const AddressText kOwn = MakeFixedText<16>("10.0.0.1");
const AddressText kPeer = MakeFixedText<16>("192.168.100.200");
const HandleText kBob = MakeFixedText<50>("bob");

TEST(Packet, EveryKindIsByteExact) {
  const std::string tag("\x34\x12\0\0", 4), crLf = "\r\n", zeros(16, '\0');
  const std::string own = "10.0.0.1" + std::string(8, '\0'), peer = "192.168.100.200" + std::string(1, '\0');
  const std::string bob = "bob" + std::string(47, '\0');
  const auto stamped = [](auto builder) { return test::Stamped(builder, 0x1234); };
  const std::pair<Bytes, std::string> cases[] = {
      {stamped([](auto p) { return BuildHello(p, kOwn, kBob); }), tag + "0010" + own + bob + crLf},
      {stamped([](auto p) { return BuildHelloReply(p, kOwn, kPeer, kBob); }), tag + "0011" + own + peer + bob + crLf},
      {stamped([](auto p) { return BuildBye(p, kOwn); }), tag + "0020" + own + crLf},
      {stamped([](auto p) { return BuildLogoutRequest(p, kPeer); }), tag + "0050" + peer + crLf},
      {stamped([](auto p) { return BuildHealthQuery(p, kOwn); }), tag + "0060" + own + crLf},
      {stamped([](auto p) { return BuildHealthReply(p, kOwn, kPeer, kBob); }), tag + "0061" + own + peer + bob + crLf},
      {stamped([](auto p) { return BuildChat(p, code::kBcMsg, kOwn, kBob, AsBytes("hello")); }),
       tag + "0040" + own + zeros + bob + "hello" + crLf},
      {stamped([](auto p) {
         const int payload = BuildChat(p, code::kSlMsg, kOwn, kBob, AsBytes("hi"));
         SetTarget(p, kPeer);
         return payload;
       }),
       tag + "0030" + own + peer + bob + "hi" + crLf},
  };
  for (const auto& [built, expected] : cases) EXPECT_EQ(std::string(built.begin(), built.end()), expected);
}

TEST(PacketView, TextEndsAtCrZeroOrByte5000) {
  const std::string header(90, '\0');
  const std::pair<std::string, std::string> cases[] = {
      {header + "before\rafter\r\n", "before"},
      {header + "ab" + std::string(1, '\0') + "cd", "ab"},
      {header + std::string(6000, 'x'), std::string(5000 - 90, 'x')},
      {std::string(12, '\0'), ""},
  };
  for (const auto& [packet, text] : cases) EXPECT_EQ(PacketView(AsBytes(packet)).Text(), text);
}

}  // namespace
}  // namespace korvane
