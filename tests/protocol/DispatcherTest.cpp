// The dispatcher on one copy, fed packets directly; its answers are caught on the wire.

#include "protocol/Dispatcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include "tests/support/FakeWindow.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PacketCapture.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
const AddressText kOwn = MakeFixedText<16>("10.0.0.1");

// A packet from another copy, stamped with tag.
template <typename Builder>
Bytes Packet(Builder builder, std::uint32_t tag = 7) {
  std::array<std::uint8_t, kMaxPacket> buffer{};
  const int payload = builder(std::span<std::uint8_t>(buffer));
  StampPacket(buffer, payload, tag);
  return Bytes(buffer.begin(), buffer.begin() + payload + kPacketOverhead);
}
AddressText Address(const char* text) { return MakeFixedText<16>(text); }
HandleText Handle(const std::string& text) { return MakeFixedText<50>(Utf8ToCp932(text)); }
Bytes Chat(std::string_view kind, const char* from, const char* handle, const char* target = "") {
  return Packet([&](auto p) {
    const std::string text = "msg";
    const int payload = BuildChat(p, kind, Address(from), Handle(handle),
                                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    SetTarget(p, Address(target));
    return payload;
  });
}

class DispatcherTest : public testing::Test {
 protected:
  DispatcherTest() {
    window.Attach(session);
    session.State().SetOwnHandle(Handle("me"));
    session.State().m_bLoggedIn = 1;
  }
  static SessionOptions Options(std::uint16_t tapPort) {
    SessionOptions options;
    options.ownAddress = "10.0.0.1";
    options.carriers.broadcastDestinations = {{"127.0.0.1", tapPort}};
    return options;
  }
  void Dispatch(const Bytes& packet) { session.Dispatch().DispatchPacket(packet); }
  void AddMember(const char* handle, const char* address) {
    session.Members().AddMember(Utf8ToCp932(handle), Address(address));
  }
  std::vector<std::string> Traces() const { return window.Texts(LineKind::Trace); }
  std::vector<Bytes> Answers(std::size_t count = 10) {
    std::vector<Bytes> answers;
    for (auto& datagram : tap.Take(count, std::chrono::milliseconds(100))) answers.push_back(datagram.bytes);
    return answers;
  }

  test::PacketCapture tap;
  test::FakeWindow window;
  ChatSession session{window, Options(tap.Port())};
};

TEST_F(DispatcherTest, AddressesAndHandlesAreComparedAsWholeStrings) {
  AddMember("bob", "10.0.0.2");
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.21"), Handle("bobby")); }));
  EXPECT_EQ(window.Handles(), (std::vector<std::string>{"bob", "bobby"}));
  EXPECT_TRUE(window.Shows("*** <<bobby>> がログインしました ***", LineKind::Notice));
  const auto answers = Answers(1);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_TRUE(PacketView(answers[0]).HasCode(code::kRspHello));
  EXPECT_EQ(TextOf(PacketView(answers[0]).Target()), "10.0.0.21");

  // "me" as a prefix of the own handle is no clash either, but the whole own handle is.
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.3"), Handle("m")); }));
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.4"), Handle("me")); }));
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.5"), Handle("bob")); }));
  const auto more = Answers(3);
  ASSERT_EQ(more.size(), 3u);
  EXPECT_TRUE(PacketView(more[0]).HasCode(code::kRspHello));
  for (int i : {1, 2}) {
    EXPECT_TRUE(PacketView(more[i]).HasCode(code::kReqOut));
    EXPECT_EQ(TextOf(PacketView(more[i]).Address()), i == 1 ? "10.0.0.4" : "10.0.0.5");
  }
  EXPECT_EQ(window.Handles().size(), 3u);
}

// True when another thread could take the table lock now.
bool TableLockFree(MemberTable& members) {
  return std::async(std::launch::async, [&] {
           if (!members.Mutex().try_lock()) return false;
           members.Mutex().unlock();
           return true;
         }).get();
}

// A departure and a liveness report of the same member can meet either way round: it leaves
// once, with one notice, and no notice is shown while the table lock is held (a line may
// wait for a box on the window's thread, while the receive thread waits for the lock).
TEST_F(DispatcherTest, AMemberLeavesOnceWhicheverWayByeAndLivenessMeet) {
  const Bytes bye = Packet([](auto p) { return BuildBye(p, Address("10.0.0.2")); });
  for (const bool byeFirst : {true, false}) {
    window.ClearLines();
    AddMember("bob", "10.0.0.2");
    session.Liveness().SnapshotMembers();
    bool met = false;
    window.onLine = [&](const std::string& line) {
      EXPECT_TRUE(TableLockFree(session.Members())) << line;
      if (met || line.find("<<bob>>") == std::string::npos) return;
      met = true;  // the other one arrives while the first tells its notice
      if (byeFirst) session.Liveness().ReportSilentMembers();
      else Dispatch(bye);
    };
    if (byeFirst) Dispatch(bye);
    else session.Liveness().ReportSilentMembers();
    window.onLine = nullptr;
    EXPECT_EQ(window.Texts(LineKind::Notice),
              std::vector<std::string>{byeFirst ? "*** <<bob>> がログアウトしました ***"
                                                : "*** <<bob>> はログアウトしたかもしれません ***"});
    EXPECT_TRUE(window.Handles().empty());
  }
}

TEST_F(DispatcherTest, KnownAddressAnnouncingAgainGetsNoAnswer) {
  AddMember("bob", "10.0.0.2");
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.2"), Handle("robert")); }));
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Received CMD_HELLO 10.0.0.2", "Already connected member"}));
  EXPECT_TRUE(Answers(1).empty());
  EXPECT_EQ(window.Handles(), std::vector<std::string>{"bob"});
}

TEST_F(DispatcherTest, SelectiveMessageForAnotherCopyIsHiddenUnlessEcho) {
  AddMember("bob", "10.0.0.2");
  Dispatch(Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.3"));
  EXPECT_TRUE(window.Texts(LineKind::Chat).empty());
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Received SL_MSG 10.0.0.2", "Received Other SL_MSG"}));

  session.State().m_bEcho = 1;
  Dispatch(Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.3"));
  EXPECT_EQ(window.Texts(LineKind::Chat), std::vector<std::string>{"bob(特定)> msg"});

  Dispatch(Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.1"));  // to this copy
  EXPECT_EQ(window.Texts(LineKind::Chat).back(), "bob(特定)> msg");
  EXPECT_EQ(Traces().back(), "Received My SL_MSG");
}

TEST_F(DispatcherTest, ChatFromOutsiderIsNotShown) {
  Dispatch(Chat(code::kBcMsg, "10.0.0.9", "eve"));
  EXPECT_TRUE(window.Texts(LineKind::Chat).empty());
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Received BC_MSG 10.0.0.9", "Not connect member"}));
}

TEST_F(DispatcherTest, ChatWhileMinimisedAlertsFirst) {
  AddMember("bob", "10.0.0.2");
  window.SetIconic(true);
  Dispatch(Chat(code::kBcMsg, "10.0.0.2", "bob"));
  EXPECT_EQ(window.Alerts(), 1);
  EXPECT_EQ(window.Texts(LineKind::Chat), std::vector<std::string>{"bob > msg"});
}

TEST_F(DispatcherTest, HealthQueryFromStrangerIsAnswered) {
  Dispatch(Packet([](auto p) { return BuildHealthQuery(p, Address("10.0.0.9")); }));
  const auto answers = Answers(1);
  ASSERT_EQ(answers.size(), 1u);
  const PacketView answer(answers[0]);
  EXPECT_TRUE(answer.HasCode(code::kRspHlthy));
  EXPECT_EQ(TextOf(answer.Target()), "10.0.0.9");
  EXPECT_EQ(TextOf(answer.Handle()), "me");
  EXPECT_TRUE(Traces().empty());
}

TEST_F(DispatcherTest, AnswersForAnotherCopyAreIgnoredEvenWithEcho) {
  session.State().m_bEcho = 1;
  Dispatch(Packet([](auto p) { return BuildHelloReply(p, Address("10.0.0.2"), Address("10.0.0.3"), Handle("bob")); }));
  Dispatch(Packet([](auto p) { return BuildHealthReply(p, Address("10.0.0.2"), Address("10.0.0.3"), Handle("bob")); }));
  EXPECT_TRUE(window.Handles().empty());
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Received RSP_HELLO 10.0.0.2", "Received Other RSP_HELLO",
                                                "Received RSP_HLTHY 10.0.0.2", "Received Other RSP_HLTHY"}));
}

TEST_F(DispatcherTest, AnswersAddMissingMembersOnce) {
  Dispatch(Packet([](auto p) { return BuildHelloReply(p, Address("10.0.0.2"), kOwn, Handle("bob")); }));
  Dispatch(Packet([](auto p) { return BuildHelloReply(p, Address("10.0.0.2"), kOwn, Handle("bob")); }, 8));
  Dispatch(Packet([](auto p) { return BuildHealthReply(p, Address("10.0.0.3"), kOwn, Handle("carol")); }));
  Dispatch(Packet([](auto p) { return BuildHealthReply(p, Address("10.0.0.3"), kOwn, Handle("carol")); }, 8));
  EXPECT_EQ(window.Handles(), (std::vector<std::string>{"bob", "carol"}));
  EXPECT_EQ(window.Texts(LineKind::Notice),
            (std::vector<std::string>{"*** <<bob>> がログインしています ***", "*** <<carol>> がログインしています ***"}));
  EXPECT_EQ(Traces()[4], "Already connect member");
}

TEST_F(DispatcherTest, LoggedOutCopyChangesNothingUnlessEcho) {
  session.State().m_bLoggedIn = 0;
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.2"), Handle("bob")); }));
  Dispatch(Packet([](auto p) { return BuildHealthQuery(p, Address("10.0.0.2")); }));
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Disposed Message (not login)", "Disposed Message (not login)"}));
  EXPECT_TRUE(window.Handles().empty());
  EXPECT_TRUE(Answers(1).empty());

  session.State().m_bEcho = 1;
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("10.0.0.2"), Handle("bob")); }));
  EXPECT_EQ(window.Handles(), std::vector<std::string>{"bob"});
  EXPECT_EQ(Answers(1).size(), 1u);
}

TEST_F(DispatcherTest, OwnPacketsAreRecognisedByAddressAndLastTag) {
  session.Sender().SendBye();
  const auto sent = Answers(1);
  ASSERT_EQ(sent.size(), 1u);
  Dispatch(sent[0]);
  EXPECT_EQ(Traces(), std::vector<std::string>{"Received Own Message"});

  // With echo the own packets are handled like anybody's.
  session.State().m_bEcho = 1;
  window.ClearLines();
  Dispatch(Chat(code::kBcMsg, "10.0.0.1", "me"));
  EXPECT_EQ(Traces(), (std::vector<std::string>{"Received BC_MSG 10.0.0.1", "Received My Sned BC_MSG",
                                                "Not connect member"}));
}

TEST_F(DispatcherTest, ByeRemovesTheMemberNamedByAddress) {
  AddMember("bob", "10.0.0.2");
  AddMember("bobby", "10.0.0.22");
  Dispatch(Packet([](auto p) { return BuildBye(p, Address("10.0.0.2")); }));
  EXPECT_EQ(window.Handles(), std::vector<std::string>{"bobby"});
  EXPECT_TRUE(window.Shows("*** <<bob>> がログアウトしました ***", LineKind::Notice));
  Dispatch(Packet([](auto p) { return BuildBye(p, Address("10.0.0.2")); }, 8));
  EXPECT_EQ(Traces().back(), "Already disconnect member");
}

TEST_F(DispatcherTest, LogoutRequestForThisCopyLogsOutThenTellsTheUser) {
  test::MessageBoxRecorder boxes;
  Dispatch(Packet([](auto p) { return BuildLogoutRequest(p, Address("10.0.0.12")); }));
  EXPECT_EQ(Traces(), std::vector<std::string>{"Received Other REQ_OUT"});
  EXPECT_TRUE(boxes.Boxes().empty());

  Dispatch(Packet([](auto p) { return BuildLogoutRequest(p, kOwn); }));
  EXPECT_EQ(session.State().m_bLoggedIn.load(), 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "<<me>> はすでに使用されているハンドル名です。\n別のハンドル名でログインして下さい。");
  // The logout (and its notice) comes before the box.
  EXPECT_TRUE(window.Shows("*** ログアウトしました ***", LineKind::Notice));
}

TEST_F(DispatcherTest, RefusalWhoseTagEqualsOurLastIsStillARefusal) {
  // Every thread's tags start at 41: a newcomer's first announcement and the first answer
  // of a member's receive thread carry the same tag.
  test::MessageBoxRecorder boxes;
  session.State().m_nLastSendTag = 41;
  Dispatch(Packet([](auto p) { return BuildLogoutRequest(p, kOwn); }, 41));
  EXPECT_EQ(session.State().m_bLoggedIn.load(), 0);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(DispatcherTest, UnknownCodesEndWithoutALine) {
  Bytes packet = Packet([](auto p) { return BuildBye(p, Address("10.0.0.2")); });
  std::memcpy(packet.data() + 4, "0070", 4);
  Dispatch(packet);
  EXPECT_TRUE(window.Lines().empty());
}

TEST_F(DispatcherTest, ShortAndUnterminatedPacketsReadMissingBytesAsZero) {
  // A CMD_HELLO cut inside its address: the part that arrived is the address, the handle empty.
  Bytes hello = Packet([](auto p) { return BuildHello(p, Address("10.0.0.2"), Handle("bob")); });
  hello.resize(14);
  Dispatch(hello);
  EXPECT_TRUE(window.Shows("Received CMD_HELLO 10.0.0", LineKind::Trace));
  ASSERT_EQ(window.Handles(), std::vector<std::string>{""});

  // A handle field without a zero byte ends at the field; an address without one at 16.
  Bytes reply(92, 'A');
  std::memcpy(reply.data() + 4, "0011", 4);
  std::memcpy(reply.data() + 24, kOwn.data(), 16);
  Dispatch(reply);
  EXPECT_TRUE(window.Shows("Received RSP_HELLO " + std::string(16, 'A'), LineKind::Trace));
  EXPECT_EQ(window.Handles().back(), std::string(50, 'A'));
}

TEST_F(DispatcherTest, PacketTextIsNeverUsedAsAFormat) {
  Dispatch(Packet([](auto p) { return BuildHello(p, Address("%s%n%x"), Handle("%s%n")); }));
  EXPECT_TRUE(window.Shows("Received CMD_HELLO %s%n%x", LineKind::Trace));
  EXPECT_TRUE(window.Shows("*** <<%s%n>> がログインしました ***", LineKind::Notice));
}

TEST_F(DispatcherTest, LivenessCoversMoreThanAHundredMembers) {
  for (int i = 0; i < 150; ++i) {
    const std::string address = "10.1." + std::to_string(i / 100) + "." + std::to_string(i % 100);
    AddMember(("m" + std::to_string(i)).c_str(), address.c_str());
  }
  session.Liveness().SnapshotMembers();
  EXPECT_EQ(session.Liveness().ProbeCount(), 150);
  for (int i = 0; i < 150; ++i) {
    if (i == 120) continue;
    session.Liveness().MarkAlive(Address(("10.1." + std::to_string(i / 100) + "." + std::to_string(i % 100)).c_str()));
  }
  session.Liveness().ReportSilentMembers();
  EXPECT_EQ(session.Members().Count(), 149);
  EXPECT_EQ(window.Texts(LineKind::Notice), std::vector<std::string>{"*** <<m120>> はログアウトしたかもしれません ***"});
}

}  // namespace
}  // namespace korvane
