// SPDX-License-Identifier: MIT
// One copy ("me" at 10.0.0.1) fed one packet at a time: what it shows, lists and answers.

#include "protocol/Dispatcher.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "platform/CodePage.h"
#include "tests/support/Loopback.h"
#include "tests/support/Packets.h"
#include "tests/support/RecordingWindow.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using test::Stamped;

AddressText Address(const std::string& text) { return MakeFixedText<16>(text); }
HandleText Handle(const std::string& text) { return MakeFixedText<50>(Utf8ToCp932(text)); }

Bytes Hello(const char* from, const char* handle) {
  return Stamped([&](auto p) { return BuildHello(p, Address(from), Handle(handle)); });
}
Bytes Reply(bool health, const char* from, const char* to, const char* handle) {
  return Stamped([&](auto p) {
    return (health ? BuildHealthReply : BuildHelloReply)(p, Address(from), Address(to), Handle(handle));
  });
}
Bytes Bye(const char* from, std::uint32_t tag = 7) {
  return Stamped([&](auto p) { return BuildBye(p, Address(from)); }, tag);
}
Bytes Chat(std::string_view kind, const char* from, const char* to = "") {
  return Stamped([&](auto p) {
    const std::uint8_t text[] = {'m', 's', 'g'};
    const int payload = BuildChat(p, kind, Address(from), Handle("bob"), text);
    SetTarget(p, Address(to));
    return payload;
  });
}

struct Case {
  const char* name;
  Bytes packet;
  Strings handles;  // listed after
  Strings shown;
  Strings answers = {};  // code and addressee
  bool loggedIn = true;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// Code and address of each datagram the tap caught within wait; of a reply (its code ends in
// 1), the address of its addressee, its target.
Strings Sent(test::PacketCapture& tap, std::chrono::milliseconds wait) {
  Strings sent;
  for (const auto& [destination, bytes] : tap.Take(10, wait)) {
    const PacketView view(bytes);
    sent.push_back(std::string(bytes.begin() + 4, bytes.begin() + 8) + " " +
                   std::string(TextOf(bytes[7] == '1' ? view.Target() : view.Address())));
  }
  return sent;
}

// Our last tag is 41, as every thread's first.
class DispatcherTest : public testing::Test {
 protected:
  DispatcherTest() {
    window.Attach(session);
    session.State().SetOwnHandle(Handle("me"));
    session.State().m_bLoggedIn = 1;
    session.State().m_nLastSendTag = 41;
  }
  void Dispatch(const Bytes& packet) { session.Dispatch().DispatchPacket(packet); }
  void AddMember(const std::string& handle, const char* at) { session.Members().AddMember(handle, Address(at)); }
  Strings Handles() {
    Strings handles;
    for (const MemberRow& row : session.Members().Rows()) handles.push_back(Cp932ToUtf8(row.handle));
    return handles;
  }

  test::PacketCapture tap;
  test::RecordingWindow window;
  ChatSession session{window, {"10.0.0.1", {.broadcastDestinations = {{"127.0.0.1", tap.Port()}}}, {}, {}}};
};

const std::string kCarolIn = "N *** <<carol>> がログインしています ***";
const Strings kBob = {"bob"}, kBobAndCarol = {"bob", "carol"};

// bob at 10.0.0.2 is listed before.
const Case kCases[] = {
    {"handles compared whole: a longer one", Hello("10.0.0.22", "bobby"),
     {"bob", "bobby"}, {"T Received CMD_HELLO 10.0.0.22", "N *** <<bobby>> がログインしました ***"}, {"0011 10.0.0.22"}},
    {"handles compared whole: a shorter one", Hello("10.0.0.3", "bo"),
     {"bob", "bo"}, {"T Received CMD_HELLO 10.0.0.3", "N *** <<bo>> がログインしました ***"}, {"0011 10.0.0.3"}},
    {"the own handle is refused", Hello("10.0.0.4", "me"), kBob, {"T Received CMD_HELLO 10.0.0.4"}, {"0050 10.0.0.4"}},
    {"a member's handle refused", Hello("10.0.0.5", "bob"), kBob, {"T Received CMD_HELLO 10.0.0.5"}, {"0050 10.0.0.5"}},
    {"a restart at a known address", Hello("10.0.0.2", "bob"),
     kBob, {"T Received CMD_HELLO 10.0.0.2", "T Already connected member"}},
    {"logged out: nothing changes", Hello("10.0.0.3", "carol"), kBob, {"T Disposed Message (not login)"}, {}, false},
    {"a reply adds its sender", Reply(false, "10.0.0.3", "10.0.0.1", "carol"),
     kBobAndCarol, {"T Received RSP_HELLO 10.0.0.3", "T Received My RSP_HELLO", kCarolIn}},
    {"a reply for another copy", Reply(false, "10.0.0.3", "10.0.0.4", "carol"),
     kBob, {"T Received RSP_HELLO 10.0.0.3", "T Received Other RSP_HELLO"}},
    {"a late answer lists its member again", Reply(true, "10.0.0.3", "10.0.0.1", "carol"),
     kBobAndCarol, {"T Received RSP_HLTHY 10.0.0.3", kCarolIn}},
    {"an answer for another copy", Reply(true, "10.0.0.3", "10.0.0.4", "carol"),
     kBob, {"T Received RSP_HLTHY 10.0.0.3", "T Received Other RSP_HLTHY"}},
    {"a query is answered", Stamped([](auto p) { return BuildHealthQuery(p, Address("10.0.0.9")); }),
     kBob, {}, {"0061 10.0.0.9"}},
    {"a departure", Bye("10.0.0.2"), {}, {"T Received CMD_BYE 10.0.0.2", "N *** <<bob>> がログアウトしました ***"}},
    {"our own packet: the address and our last tag", Bye("10.0.0.1", 41), kBob, {"T Received Own Message"}},
    {"a member's chat", Chat(code::kBcMsg, "10.0.0.2"), kBob, {"T Received BC_MSG 10.0.0.2", "ALERT", "C bob > msg"}},
    {"a stranger's chat", Chat(code::kBcMsg, "10.0.0.9"), kBob, {"T Received BC_MSG 10.0.0.9", "T Not connect member"}},
    {"a message chosen for another copy", Chat(code::kSlMsg, "10.0.0.2", "10.0.0.3"),
     kBob, {"T Received SL_MSG 10.0.0.2", "T Received Other SL_MSG"}},
    {"a message chosen for this copy", Chat(code::kSlMsg, "10.0.0.2", "10.0.0.1"),
     kBob, {"T Received SL_MSG 10.0.0.2", "T Received My SL_MSG", "ALERT", "C bob(特定)> msg"}},
    {"a refusal for another copy", Stamped([](auto p) { return BuildLogoutRequest(p, Address("10.0.0.12")); }),
     kBob, {"T Received Other REQ_OUT"}},
    // Every thread's tags start at 41: a refusal may carry the tag of our own announcement.
    {"a refusal with our tag logs out, then tells", Stamped([](auto p) {
       return BuildLogoutRequest(p, Address("10.0.0.1"));
     }, 41),
     {}, {"N *** ログアウトしました ***", "B <<me>> はすでに使用されているハンドル名です。\n別のハンドル名でログインして下さい。"},
     {"0020 10.0.0.1"}},
};

class DispatcherCases : public DispatcherTest, public testing::WithParamInterface<std::tuple<Case, bool>> {};

// Each also to a window that takes no traces: the same less those.
TEST_P(DispatcherCases, ShowsListsAndAnswers) {
  const auto& [c, traces] = GetParam();
  window.takesTraces = traces;
  AddMember("bob", "10.0.0.2");
  session.State().m_bLoggedIn = c.loggedIn ? 1 : 0;
  Dispatch(c.packet);
  Strings shown = c.shown;
  if (!traces) std::erase_if(shown, [](const std::string& line) { return line.starts_with("T "); });
  EXPECT_EQ(Handles(), c.handles);
  EXPECT_EQ(window.shown, shown);
  EXPECT_EQ(Sent(tap, std::chrono::milliseconds(20)), c.answers);  // sent at once on loopback: already in the tap
}

INSTANTIATE_TEST_SUITE_P(Packets, DispatcherCases, testing::Combine(testing::ValuesIn(kCases), testing::Bool()));

// True when another thread could take the table lock now.
bool TableLockFree(MemberTable& members) {
  return std::async(std::launch::async,
                    [&] { return std::unique_lock(members.Mutex(), std::try_to_lock).owns_lock(); }).get();
}

// A departure and a liveness report of the same member can meet either way round: it leaves
// once, with one notice, and no notice is shown while the table lock is held (a line may
// wait for a box on the window's thread, while the receive thread waits for the lock).
TEST_F(DispatcherTest, AMemberLeavesOnceWhicheverWayByeAndLivenessMeet) {
  for (const bool byeFirst : {true, false}) {
    window.shown.clear();
    AddMember("bob", "10.0.0.2");
    session.Liveness().SnapshotMembers();
    bool met = false;
    window.onLine = [&](const std::string& line) {
      EXPECT_TRUE(TableLockFree(session.Members())) << line;
      if (met || line.find("<<bob>>") == std::string::npos) return;
      met = true;  // the other one arrives while the first tells its notice
      if (byeFirst) session.Liveness().ReportSilentMembers();
      else Dispatch(Bye("10.0.0.2"));
    };
    if (byeFirst) Dispatch(Bye("10.0.0.2"));
    else session.Liveness().ReportSilentMembers();
    window.onLine = nullptr;
    EXPECT_EQ(window.shown, (byeFirst ? Strings{"T Received CMD_BYE 10.0.0.2", "N *** <<bob>> がログアウトしました ***"}
                                      : Strings{"T Received CMD_BYE 10.0.0.2", "T Already disconnect member",
                                                "N *** <<bob>> はログアウトしたかもしれません ***"}));
    EXPECT_TRUE(Handles().empty());
  }
}

// The real timings (every other test injects short ones), and a check over more members
// than the tables were once built for, of which one stays silent.
TEST_F(DispatcherTest, LivenessAsksEveryNinetySecondsAndWaitsTenForAnswers) {
  session.State().m_bLoggedIn = 0;
  session.Login(Handle("me"));
  EXPECT_EQ(window.timers.at(LivenessTimer::Probe), std::chrono::seconds(90));
  for (int i = 0; i < 150; ++i) AddMember("m" + std::to_string(i), ("10.1.0." + std::to_string(i)).c_str());
  session.OnTimer(LivenessTimer::Probe);
  EXPECT_EQ(window.timers.at(LivenessTimer::Answer), std::chrono::seconds(10));
  EXPECT_EQ(window.caption, "メンバリスト更新中・・・");
  for (int i = 0; i < 150; ++i)
    if (i != 120) session.Liveness().MarkAlive(Address("10.1.0." + std::to_string(i)));
  window.shown.clear();
  session.OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(window.caption, "接続中のメンバ");
  EXPECT_EQ(window.timers.count(LivenessTimer::Answer), 0u);
  EXPECT_EQ(window.shown, Strings{"N *** <<m120>> はログアウトしたかもしれません ***"});
  session.Logout();
  EXPECT_TRUE(window.timers.empty());
}

// Logged in, a copy whose address changed leaves under the old one, comes again under the new
// one, and listens there; logged out, it only moves.
TEST(ChatSession, ANewAddressIsLeftJoinedAndListenedAt) {
  test::LoopbackHost host("127.0.0.30");
  test::RecordingWindow window;
  std::atomic<bool> heard{false};
  window.onLine = [&](const std::string& line) { heard = heard || line == "Received CMD_BYE 127.0.0.9"; };
  ChatSession session(window, {"127.0.0.30", host.carriers, {}, {}});
  ASSERT_TRUE(session.OpenCarriers());
  session.Login(Handle("me"));
  const auto wire = [&] { return Sent(host.tap, std::chrono::milliseconds(100)); };
  wire();
  session.ChangeOwnAddress("127.0.0.31");
  EXPECT_EQ(wire(), (Strings{"0020 127.0.0.30", "0010 127.0.0.31"}));
  UdpCarrier::Open("127.0.0.1", 0)->SendTo(Bye("127.0.0.9"), "127.0.0.31", host.carriers.udpPort);
  EXPECT_TRUE(test::WaitUntil([&] { return heard.load(); }));
  session.State().m_bLoggedIn = 0;
  session.ChangeOwnAddress("127.0.0.32");
  EXPECT_TRUE(wire().empty());
}

// While no trace line is kept, an answer neither from nor to this copy, as the dispatcher
// compares addresses, stays in the kernel; every other packet arrives, under the address in
// force.
TEST(ChatSession, OthersAnswersToOthersStayInTheKernelWhileNoTraceIsKept) {
  test::LoopbackHost host("127.0.0.40");
  test::RecordingWindow window;
  std::atomic<int> read{0}, markers{0};
  window.onLine = [&](const std::string& line) {
    if (line == "------------") ++read;
    if (line == "Received CMD_BYE 127.0.0.9") ++markers;
  };
  ChatSession session(window, {"127.0.0.40", host.carriers, {}, {}});
  ASSERT_TRUE(session.OpenCarriers());
  session.State().m_bLoggedIn = 1;
  const auto sender = UdpCarrier::Open("127.0.0.1", 0);
  const auto arrives = [&](const Bytes& packet) {  // read before a departure sent after it
    const int before = read, marker = markers + 1;
    sender->SendTo(packet, "127.0.0.40", host.carriers.slotPort);
    sender->SendTo(Bye("127.0.0.9", 100 + marker), "127.0.0.40", host.carriers.slotPort);
    EXPECT_TRUE(test::WaitUntil([&] { return markers == marker; }));
    return read - before == 2;
  };
  Bytes trailed = Reply(true, "127.0.0.9", "127.0.0.40", "x");
  trailed[kTargetOffset + 11] = 'z';
  const Bytes cut(trailed.begin(), trailed.begin() + kTargetOffset + 10);
  const struct {
    const char* name;
    Bytes packet;
    bool arrives;
  } kFiltered[] = {
      {"between two others", Reply(true, "127.0.0.9", "127.0.0.8", "x"), false},
      {"to this copy", Reply(true, "127.0.0.9", "127.0.0.40", "x"), true},
      {"from this copy", Reply(true, "127.0.0.40", "127.0.0.8", "x"), true},
      {"to an address ours starts with", Reply(true, "127.0.0.9", "127.0.0.4", "x"), false},
      {"to an address that starts with ours", Reply(true, "127.0.0.9", "127.0.0.400", "x"), false},
      {"to ours, bytes after its end", trailed, true},
      {"to ours, cut after it", cut, true},
      {"a login's answer between others", Reply(false, "127.0.0.9", "127.0.0.8", "x"), true},
  };
  session.KeepTraces(false);
  for (const auto& c : kFiltered) EXPECT_EQ(arrives(c.packet), c.arrives) << c.name;

  session.State().m_bLoggedIn = 0;  // so the move sends nothing that would arrive meanwhile
  session.ChangeOwnAddress("127.0.0.41");
  session.State().m_bLoggedIn = 1;
  EXPECT_TRUE(arrives(Reply(true, "127.0.0.9", "127.0.0.41", "x")));
  EXPECT_FALSE(arrives(Reply(true, "127.0.0.9", "127.0.0.40", "x")));
  session.KeepTraces(true);
  EXPECT_TRUE(arrives(Reply(true, "127.0.0.9", "127.0.0.8", "x")));
}

}  // namespace
}  // namespace korvane
