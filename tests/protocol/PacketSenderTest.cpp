// SPDX-License-Identifier: MIT
// What a copy puts on the wire, and the out-of-domain table it sends through.

#include "protocol/PacketSender.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

#include "display/ChatLine.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "protocol/OutDomainTable.h"
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
    ownLines.push_back(FormatChatLine(PacketView(packet), selective));
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
  const std::pair<const char*, Strings> cases[] = {  // rows chosen; code, target and tag of what is sent
      {"000", {"0040  41"}},
      {"0100", {"0030 127.0.0.11 41"}},
      {"1011", {"0030 127.0.0.10 41", "0030 127.0.0.12 18467", "0030 127.0.0.13 6334"}}};
  for (const auto& [rows, expected] : cases) {
    selection = {rows, {}};  // row r at 127.0.0.<10 + r>
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
    EXPECT_EQ(sent, expected) << rows;
    EXPECT_EQ(ownLines, Strings{"bob > " + japanese});
  }
}

SettingsRecord Registered(std::initializer_list<const char*> addresses, std::int32_t chosen = 1) {
  SettingsRecord settings{};
  settings.nOutDomainMode = chosen;
  for (const char* address : addresses) std::strcpy(settings.szAddrIP[settings.nAddrCount++], address);
  return settings;
}

// Applying the settings replaces the table while the receive thread sends through it: a
// sender sees the old table or the new one, never a mix of both or an empty one between.
TEST(OutDomainTable, ASenderSeesTheOldTableOrTheNewOneWhileSettingsAreApplied) {
  std::recursive_mutex mutex;
  OutDomainTable table(mutex);
  const SettingsRecord first = Registered({"127.0.0.1", "127.0.0.2", "127.0.0.3"});
  const SettingsRecord second = Registered({"127.0.0.8", "127.0.0.9"});
  table.LoadChosen(first);
  const OutDomainList a = table.Snapshot();
  table.LoadChosen(second);
  const OutDomainList b = table.Snapshot();

  std::atomic<bool> applying{true};
  std::atomic<int> mixes{0};
  std::thread sender([&] {
    while (applying) {
      const OutDomainList seen = table.Snapshot();
      if (!(seen.m_nOutDomainCount == 3 && seen.m_outDomainAddrs == a.m_outDomainAddrs) &&
          !(seen.m_nOutDomainCount == 2 && seen.m_outDomainAddrs == b.m_outDomainAddrs))
        ++mixes;
    }
  });
  for (int i = 0; i < 20000; ++i) table.LoadChosen(i % 2 == 0 ? first : second);
  applying = false;
  sender.join();
  EXPECT_EQ(mixes.load(), 0);

  // Registered but not chosen: nothing goes out beyond the local network.
  table.LoadChosen(Registered({"127.0.0.1"}, 0));
  EXPECT_EQ(table.Snapshot().m_nOutDomainCount, 0);
  // An address that fills its field without a zero byte keeps all 16 bytes.
  SettingsRecord full = Registered({""});
  std::memcpy(full.szAddrIP[0], "127.000.000.0042", 16);
  table.LoadRegistered(full);
  EXPECT_EQ(TextOf(table.Snapshot().m_outDomainAddrs[0]), "127.000.000.0042");
}

}  // namespace
}  // namespace korvane
