// SPDX-License-Identifier: MIT
#include "protocol/PacketSender.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "tests/support/PacketCapture.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

// A copy whose broadcasts and unicast datagrams all reach one capture, so the order of
// everything it puts on the wire can be checked. The test is the window: it records the own
// lines and boxes, and holds the member list's selection.
class PacketSenderTest : public testing::Test, public ChatSendHost, public MessageBoxHost, public BroadcastWriter {
 protected:
  PacketSenderTest() {
    session.SetOwnAddress(MakeFixedText<16>("10.0.0.1"));
    session.SetOwnHandle(MakeFixedText<50>("bob"));
    session.m_bLoggedIn = 1;
    sender.SetSocket(udp.get());
  }
  void ShowMessageBox(const std::string& text, unsigned style) override { boxes.push_back({Cp932ToUtf8(text), style}); }
  void RecordSelection(SelectionRecord& record) override { record = selection; }
  void ShowChatLine(std::span<const std::uint8_t> packet, int selective) override {
    const PacketView view(packet);
    ownLines.push_back(std::string(TextOf(view.Handle())) + (selective == 1 ? "(sel)" : " > ") +
                       std::string(view.Text()));
  }
  BroadcastResult Write(std::span<const std::uint8_t> packet) override {
    return failure ? *failure : writer.Write(packet);
  }
  std::vector<test::PacketCapture::Datagram> Wire() { return capture.Take(10, std::chrono::milliseconds(50)); }

  test::PacketCapture capture;
  SocketBroadcastWriter writer{{.broadcastDestinations = {{"127.0.0.1", capture.Port()}}}};
  std::optional<BroadcastResult> failure;
  SelectionRecord selection;
  Strings ownLines;
  std::vector<std::pair<std::string, unsigned>> boxes;
  SessionState session;
  std::recursive_mutex tableMutex;
  OutDomainTable outDomain{tableMutex};
  std::unique_ptr<UdpCarrier> udp = UdpCarrier::Open("127.0.0.1", 0);
  PacketSender sender{session, outDomain, *this, *this, *this, capture.Port()};
};

TEST_F(PacketSenderTest, BroadcastFirstThenOneIdenticalDatagramPerRegisteredAddressInOrder) {
  const AddressText registered[] = {MakeFixedText<16>("127.0.0.3"), MakeFixedText<16>("127.0.0.2"),
                                    MakeFixedText<16>("127.0.0.4")};
  outDomain.Assign(3, registered);
  sender.SendBye();
  const auto wire = Wire();
  Strings destinations;
  for (const auto& datagram : wire) {
    destinations.push_back(datagram.destination);
    EXPECT_EQ(datagram.bytes, wire[0].bytes);
  }
  EXPECT_EQ(destinations, (Strings{"127.0.0.1", "127.0.0.3", "127.0.0.2", "127.0.0.4"}));
  // A failed broadcast is told, and then no datagram is sent.
  for (const BroadcastResult result : {BroadcastResult::OpenFailed, BroadcastResult::WriteFailed}) {
    failure = result;
    sender.SendBye();
  }
  EXPECT_EQ(boxes, (std::vector<std::pair<std::string, unsigned>>{
                       {"書き込み用メールスロットのオープンに失敗した", MB_OK},
                       {"メールスロットへの書き込みに失敗しました", MB_OK}}));
  EXPECT_TRUE(Wire().empty());
}

TEST_F(PacketSenderTest, NothingLeavesWhileLoggedOutNorAsARefusalOfTheOwnAddress) {
  session.m_bLoggedIn = 0;
  sender.SendBye();
  sender.SendHealthQuery();
  sender.SendLogoutRequest(session.OwnAddress());
  EXPECT_TRUE(Wire().empty());
  AddressText ownWithGarbage = session.OwnAddress();
  ownWithGarbage[15] = 'x';  // not all 16 bytes equal: not the own address
  sender.SendLogoutRequest(ownWithGarbage);
  EXPECT_EQ(Wire().size(), 1u);
}

// Each chosen member gets its own selective message, in row order, with its own tag (a fresh
// thread's are 41, 18467, 6334); with nobody chosen the message is one broadcast. The own line
// is shown once, unmarked.
TEST_F(PacketSenderTest, ChatGoesToTheChosenMembersOrToEverybody) {
  const std::string japanese = Utf8ToCp932("こんにちは");
  const struct {
    const char* rows;
    Strings sent;  // code, target and tag
  } cases[] = {{"000", {"0040  41"}},
               {"0100", {"0030 127.0.0.11 41"}},
               {"1011", {"0030 127.0.0.10 41", "0030 127.0.0.12 18467", "0030 127.0.0.13 6334"}}};
  for (const auto& c : cases) {
    selection = {c.rows, {}};  // row r at 127.0.0.<10 + r>
    for (std::size_t row = 0; row < selection.m_selFlags.size(); ++row)
      selection.m_selAddrs.push_back(MakeFixedText<16>("127.0.0.1" + std::to_string(row)));
    ownLines.clear();
    std::thread([&] { sender.SendChat(Bytes(japanese.begin(), japanese.end())); }).join();
    Strings sent;
    for (const auto& [destination, bytes] : Wire()) {
      const PacketView view(bytes);
      sent.push_back(std::string(bytes.begin() + 4, bytes.begin() + 8) + " " + std::string(TextOf(view.Target())) +
                     " " + std::to_string(view.Tag()));
      EXPECT_EQ(view.Text(), japanese);
    }
    EXPECT_EQ(sent, c.sent) << c.rows;
    EXPECT_EQ(ownLines, Strings{"bob > " + japanese});
  }
}

}  // namespace
}  // namespace korvane
