#include "protocol/PacketSender.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/CodePage.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PacketCapture.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Datagram = test::PacketCapture::Datagram;

Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }

class FixedSelection : public ChatSendHost, public MessageBoxHost {
 public:
  void ShowMessageBox(const std::string& text, unsigned style) override { AfxMessageBox(text, style); }
  void RecordSelection(SelectionRecord& selection) override { selection = selection_; }
  void ShowChatLine(std::span<const std::uint8_t> packet, int selective) override {
    const PacketView view(packet);
    ownLines.push_back(std::string(TextOf(view.Handle())) + (selective == 1 ? "(sel)" : " > ") +
                       std::string(view.Text()));
  }
  // rows: one character per member row, '1' for a selected one.
  void Select(std::string_view rows) {
    selection_ = {std::string(rows), std::vector<AddressText>(rows.size())};
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row] == '1')
        selection_.m_selAddrs[row] = MakeFixedText<16>("127.0.0." + std::to_string(row + 10));
    }
  }
  std::vector<std::string> ownLines;

 private:
  SelectionRecord selection_;
};

class FailingWriter : public BroadcastWriter {
 public:
  explicit FailingWriter(BroadcastResult result) : result_(result) {}
  BroadcastResult Write(std::span<const std::uint8_t>) override { return result_; }

 private:
  BroadcastResult result_;
};

// A copy whose broadcasts and unicast datagrams all reach one capture, so the order of
// everything it puts on the wire can be checked.
class PacketSenderTest : public testing::Test {
 protected:
  PacketSenderTest() {
    session.m_szOwnAddress = MakeFixedText<16>("10.0.0.1");
    session.SetOwnHandle(MakeFixedText<50>("bob"));
    session.m_bLoggedIn = 1;
    config.broadcastDestinations = {{"127.0.0.1", capture.Port()}};
  }

  void Register(std::vector<std::string> addresses) {
    std::vector<AddressText> table;
    for (const auto& address : addresses) table.push_back(MakeFixedText<16>(address));
    outDomain.Assign(static_cast<int>(table.size()), table);
  }

  // Runs body on a fresh thread, so its tags are 41, 18467, 6334, ...
  static void OnFreshThread(const std::function<void()>& body) { std::thread(body).join(); }

  test::PacketCapture capture;
  CarrierConfig config;
  SessionState session;
  std::recursive_mutex tableMutex;
  OutDomainTable outDomain{tableMutex};
  std::unique_ptr<UdpCarrier> udp = UdpCarrier::Open("127.0.0.1", 0);
  FixedSelection host;

  PacketSender Sender(BroadcastWriter& writer) {
    PacketSender sender(session, outDomain, writer, host, host, capture.Port());
    sender.SetSocket(udp.get());
    return sender;
  }
};

TEST_F(PacketSenderTest, WithoutRegisteredAddressesOnePacketIsOneBroadcast) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  sender.SendHello();
  const auto wire = capture.Take(2, std::chrono::milliseconds(200));
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_EQ(wire[0].destination, "127.0.0.1");
  EXPECT_EQ(wire[0].bytes.size(), 76u);
}

TEST_F(PacketSenderTest, BroadcastFirstThenOneIdenticalDatagramPerAddressInOrder) {
  Register({"127.0.0.3", "127.0.0.2", "127.0.0.4"});
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  OnFreshThread([&] {
    std::array<std::uint8_t, 26> packet{};
    BuildBye(packet, session.m_szOwnAddress);
    EXPECT_EQ(sender.SendPacket(packet, 16), 0);
  });
  const auto wire = capture.Take(4);
  ASSERT_EQ(wire.size(), 4u);
  std::vector<std::string> destinations;
  for (const Datagram& datagram : wire) {
    destinations.push_back(datagram.destination);
    EXPECT_EQ(datagram.bytes, wire[0].bytes);
  }
  EXPECT_EQ(destinations, (std::vector<std::string>{"127.0.0.1", "127.0.0.3", "127.0.0.2", "127.0.0.4"}));
  EXPECT_EQ(wire[0].bytes[0], 41);  // the Tag, same on all copies
}

TEST_F(PacketSenderTest, FailedBroadcastIsReportedAndSendsNoDatagram) {
  Register({"127.0.0.2"});
  for (const auto& [result, message] :
       {std::pair{BroadcastResult::OpenFailed, "書き込み用メールスロットのオープンに失敗した"},
        std::pair{BroadcastResult::WriteFailed, "メールスロットへの書き込みに失敗しました"}}) {
    test::MessageBoxRecorder boxes;
    FailingWriter writer(result);
    PacketSender sender = Sender(writer);
    session.m_nLastSendTag = -1;
    OnFreshThread([&] {
      std::array<std::uint8_t, 26> packet{};
      EXPECT_EQ(sender.SendPacket(packet, 16), -1);
    });
    EXPECT_EQ(session.m_nLastSendTag.load(), 41);  // set before the send failed
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, message);
    EXPECT_EQ(boxes.Boxes()[0].style, MB_OK);
  }
  EXPECT_TRUE(capture.Take(1, std::chrono::milliseconds(100)).empty());
}

TEST_F(PacketSenderTest, PayloadsUpTo5000AreSentAndLargerOnesRefusedSilently) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  test::MessageBoxRecorder boxes;
  std::vector<std::uint8_t> packet(5011, 'x');
  EXPECT_EQ(sender.SendPacket(packet, 5000), 0);
  const int tagAfterSend = session.m_nLastSendTag;
  EXPECT_EQ(sender.SendPacket(packet, 5001), -1);
  EXPECT_EQ(sender.SendPacket(packet, -1), -1);
  EXPECT_EQ(session.m_nLastSendTag.load(), tagAfterSend);  // refused before a tag is drawn
  EXPECT_TRUE(boxes.Boxes().empty());
  const auto wire = capture.Take(2, std::chrono::milliseconds(200));
  ASSERT_EQ(wire.size(), 1u);
  ASSERT_EQ(wire[0].bytes.size(), 5010u);
  EXPECT_EQ(wire[0].bytes[5008], '\r');
  EXPECT_EQ(wire[0].bytes[5009], '\n');
}

TEST_F(PacketSenderTest, ConditionalBuildersSendOnlyWhenTheyShould) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  session.m_bLoggedIn = 0;
  sender.SendBye();
  sender.SendHealthQuery();
  sender.SendLogoutRequest(session.m_szOwnAddress);
  EXPECT_TRUE(capture.Take(1, std::chrono::milliseconds(100)).empty());

  session.m_bLoggedIn = 1;
  sender.SendBye();
  sender.SendHealthQuery();
  sender.SendLogoutRequest(MakeFixedText<16>("10.0.0.12"));
  AddressText ownWithGarbage = session.m_szOwnAddress;
  ownWithGarbage[15] = 'x';  // not all 16 bytes equal: not the own address
  sender.SendLogoutRequest(ownWithGarbage);
  const auto wire = capture.Take(4);
  ASSERT_EQ(wire.size(), 4u);
  EXPECT_TRUE(PacketView(wire[0].bytes).HasCode(code::kCmdBye));
  EXPECT_TRUE(PacketView(wire[1].bytes).HasCode(code::kCmdHlthy));
  EXPECT_EQ(TextOf(PacketView(wire[2].bytes).Address()), "10.0.0.12");
  EXPECT_TRUE(PacketView(wire[3].bytes).HasCode(code::kReqOut));
}

TEST_F(PacketSenderTest, AnswersCarryTheTargetAndTheOwnHandle) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  sender.SendHelloReply(MakeFixedText<16>("10.0.0.7"));
  sender.SendHealthReply(MakeFixedText<16>("10.0.0.8"));
  const auto wire = capture.Take(2);
  ASSERT_EQ(wire.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const PacketView view(wire[i].bytes);
    EXPECT_TRUE(view.HasCode(i == 0 ? code::kRspHello : code::kRspHlthy));
    EXPECT_EQ(TextOf(view.Target()), i == 0 ? "10.0.0.7" : "10.0.0.8");
    EXPECT_EQ(TextOf(view.Address()), "10.0.0.1");
    EXPECT_EQ(TextOf(view.Handle()), "bob");
  }
}

TEST_F(PacketSenderTest, ChatWithoutSelectionIsOneBroadcastMessage) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  host.Select("000");
  sender.SendChat(Ascii("hello"));
  const auto wire = capture.Take(2, std::chrono::milliseconds(200));
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_TRUE(PacketView(wire[0].bytes).HasCode(code::kBcMsg));
  EXPECT_EQ(wire[0].bytes.size(), 97u);
  EXPECT_EQ(sender.Targets().m_bSelectiveSend, 0);
  EXPECT_EQ(host.ownLines, std::vector<std::string>{"bob > hello"});
}

TEST_F(PacketSenderTest, ChatToSelectedMembersIsOneSelectiveMessageEachInRowOrder) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  host.Select("1011");
  const std::string japanese = Utf8ToCp932("こんにちは");
  OnFreshThread([&] { sender.SendChat(Bytes(japanese.begin(), japanese.end())); });
  const auto wire = capture.Take(3);
  ASSERT_EQ(wire.size(), 3u);
  const std::vector<std::string> targets = {"127.0.0.10", "127.0.0.12", "127.0.0.13"};
  const std::vector<int> tags = {41, 18467, 6334};
  for (std::size_t i = 0; i < 3; ++i) {
    const PacketView view(wire[i].bytes);
    EXPECT_TRUE(view.HasCode(code::kSlMsg));
    EXPECT_EQ(TextOf(view.Target()), targets[i]);
    EXPECT_EQ(view.Tag(), static_cast<std::uint32_t>(tags[i]));
    EXPECT_EQ(view.Text(), japanese);
    // Apart from Tag and Target, the three are the same bytes.
    Bytes rest = wire[i].bytes, first = wire[0].bytes;
    std::fill(rest.begin(), rest.begin() + 4, 0);
    std::fill(rest.begin() + 24, rest.begin() + 40, 0);
    std::fill(first.begin(), first.begin() + 4, 0);
    std::fill(first.begin() + 24, first.begin() + 40, 0);
    EXPECT_EQ(rest, first);
  }
  EXPECT_EQ(sender.Targets().m_nTargetCount, 3);
  // The own line is shown once, without the selective marker.
  EXPECT_EQ(host.ownLines, std::vector<std::string>{"bob > " + japanese});
}

TEST_F(PacketSenderTest, ChatTooLongForAPacketIsNotSentButStillShown) {
  SocketBroadcastWriter writer(config);
  PacketSender sender = Sender(writer);
  host.Select("");
  const Bytes fits(4918, 'a'), tooLong(4919, 'b');
  sender.SendChat(fits);
  sender.SendChat(tooLong);
  const auto wire = capture.Take(2, std::chrono::milliseconds(200));
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_EQ(wire[0].bytes.size(), 5010u);
  ASSERT_EQ(host.ownLines.size(), 2u);
  EXPECT_EQ(host.ownLines[1], "bob > " + std::string(4910, 'b'));  // shown up to byte 5000
}

TEST(CollectTargets, TakesTheFlaggedRowsInOrderHoweverManyThereAre) {
  const int rows = 150;  // more than the hundred members the tables were once built for
  SelectionRecord selection{std::string(rows, '1'), {}};
  for (int row = 0; row < rows; ++row)
    selection.m_selAddrs.push_back(MakeFixedText<16>("10.0.1." + std::to_string(row)));
  selection.m_selFlags[3] = '0';
  TargetTable table;
  CollectTargets(selection, table);
  EXPECT_EQ(table.m_bSelectiveSend, 1);
  ASSERT_EQ(table.m_nTargetCount, rows - 1);
  EXPECT_EQ(TextOf(table.m_targetAddrs[3]), "10.0.1.4");
  EXPECT_EQ(TextOf(table.m_targetAddrs.back()), "10.0.1.149");

  // Flags without addresses (a record cut short) select nobody beyond the addresses.
  selection.m_selAddrs.resize(2);
  CollectTargets(selection, table);
  EXPECT_EQ(table.m_nTargetCount, 2);

  CollectTargets(SelectionRecord{std::string(5, '0'), std::vector<AddressText>(5)}, table);
  EXPECT_EQ(table.m_bSelectiveSend, 0);
  EXPECT_TRUE(table.m_targetAddrs.empty());
}

}  // namespace
}  // namespace korvane
