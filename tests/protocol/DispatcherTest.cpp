// One copy ("me" at 10.0.0.1) fed one packet at a time: what it shows, lists and answers.

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
using Strings = std::vector<std::string>;

AddressText Address(const std::string& text) { return MakeFixedText<16>(text); }
HandleText Handle(const std::string& text) { return MakeFixedText<50>(Utf8ToCp932(text)); }

template <typename Builder>
Bytes Stamped(Builder builder, std::uint32_t tag = 7) {
  std::array<std::uint8_t, kMaxPacket> buffer{};
  const int payload = builder(std::span<std::uint8_t>(buffer));
  StampPacket(buffer, payload, tag);
  return Bytes(buffer.begin(), buffer.begin() + payload + kPacketOverhead);
}
Bytes Hello(const char* from, const char* handle) {
  return Stamped([&](auto p) { return BuildHello(p, Address(from), Handle(handle)); });
}
Bytes HelloReply(const char* from, const char* to, const char* handle) {
  return Stamped([&](auto p) { return BuildHelloReply(p, Address(from), Address(to), Handle(handle)); });
}
Bytes HealthReply(const char* from, const char* to, const char* handle) {
  return Stamped([&](auto p) { return BuildHealthReply(p, Address(from), Address(to), Handle(handle)); });
}
Bytes Bye(const char* from) { return Stamped([&](auto p) { return BuildBye(p, Address(from)); }); }
Bytes LogoutRequest(const char* to, std::uint32_t tag = 7) {
  return Stamped([&](auto p) { return BuildLogoutRequest(p, Address(to)); }, tag);
}
Bytes Chat(std::string_view kind, const char* from, const char* handle, const char* to = "") {
  return Stamped([&](auto p) {
    const std::string_view text = "msg";
    const int payload = BuildChat(p, kind, Address(from), Handle(handle),
                                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    SetTarget(p, Address(to));
    return payload;
  });
}
Bytes Cut(Bytes packet, std::size_t size) {
  packet.resize(size);
  return packet;
}
// A RSP_HELLO to this copy whose address and handle fields have no zero byte.
Bytes UnterminatedReply() {
  Bytes reply(92, 'A');
  std::memcpy(reply.data() + 4, "0011", 4);
  std::memcpy(reply.data() + 24, "10.0.0.1", 9);
  return reply;
}

struct Case {
  const char* name;
  std::vector<std::pair<const char*, const char*>> members;  // handle, address, before
  Bytes packet;
  Strings handles;  // listed after
  Strings shown;    // "T " trace, "N " notice, "C " chat, "B " box, "ALERT"
  Strings answers;  // code, then the target (or the addressee), then the handle
  bool echo = false;
  bool loggedIn = true;
  bool iconic = false;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

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
  Strings Shown() const {
    Strings shown;
    for (const test::ShownLine& line : window.Lines()) {
      const char* mark = line.kind == LineKind::Trace ? "T " : line.kind == LineKind::Chat ? "C " : "N ";
      shown.push_back(mark + line.text);
    }
    for (const test::RecordedBox& box : boxes.Boxes()) shown.push_back("B " + box.text);
    if (window.Alerts() > 0) shown.push_back("ALERT");
    return shown;
  }
  // Sent synchronously on loopback: already waiting in the tap.
  Strings Answers() {
    Strings answers;
    for (const auto& datagram : tap.Take(10, std::chrono::milliseconds(20))) {
      const PacketView view(datagram.bytes);
      const bool reply = datagram.bytes.size() >= 92;  // replies carry a target and the own handle
      std::string answer(reinterpret_cast<const char*>(datagram.bytes.data()) + 4, 4);
      answer += " " + std::string(TextOf(reply ? view.Target() : view.Address()));
      if (reply) answer += " " + Cp932ToUtf8(std::string(TextOf(view.Handle())));
      answers.push_back(answer);
    }
    return answers;
  }

  test::MessageBoxRecorder boxes;
  test::PacketCapture tap;
  test::FakeWindow window;
  ChatSession session{window, Options(tap.Port())};
};

const std::string kBobIn = "N *** <<bob>> がログインしています ***";

const Case kCases[] = {
    {"handles compared whole: a longer one", {{"bob", "10.0.0.2"}}, Hello("10.0.0.21", "bobby"),
     {"bob", "bobby"}, {"T Received CMD_HELLO 10.0.0.21", "N *** <<bobby>> がログインしました ***"}, {"0011 10.0.0.21 me"}},
    {"handles compared whole: a shorter one", {{"bobby", "10.0.0.2"}}, Hello("10.0.0.3", "bob"),
     {"bobby", "bob"}, {"T Received CMD_HELLO 10.0.0.3", "N *** <<bob>> がログインしました ***"}, {"0011 10.0.0.3 me"}},
    {"a prefix of the own handle", {}, Hello("10.0.0.3", "m"),
     {"m"}, {"T Received CMD_HELLO 10.0.0.3", "N *** <<m>> がログインしました ***"}, {"0011 10.0.0.3 me"}},
    {"the own handle is refused", {}, Hello("10.0.0.4", "me"), {}, {"T Received CMD_HELLO 10.0.0.4"}, {"0050 10.0.0.4"}},
    {"a member's handle is refused", {{"bob", "10.0.0.2"}}, Hello("10.0.0.5", "bob"),
     {"bob"}, {"T Received CMD_HELLO 10.0.0.5"}, {"0050 10.0.0.5"}},
    {"a restart at a known address", {{"bob", "10.0.0.2"}}, Hello("10.0.0.2", "bob"),
     {"bob"}, {"T Received CMD_HELLO 10.0.0.2", "T Already connected member"}, {}},
    {"packet text is never a format", {}, Hello("%s%n%x", "%s%n"),
     {"%s%n"}, {"T Received CMD_HELLO %s%n%x", "N *** <<%s%n>> がログインしました ***"}, {"0011 %s%n%x me"}},
    {"a cut announcement reads the rest as zero", {}, Cut(Hello("10.0.0.2", "bob"), 14),
     {""}, {"T Received CMD_HELLO 10.0.0", "N *** <<>> がログインしました ***"}, {"0011 10.0.0 me"}},
    {"logged out: nothing changes", {}, Hello("10.0.0.2", "bob"), {}, {"T Disposed Message (not login)"}, {},
     false, false},
    {"logged out with echo: handled", {}, Hello("10.0.0.2", "bob"),
     {"bob"}, {"T Disposed Message (not login)", "T Received CMD_HELLO 10.0.0.2", "N *** <<bob>> がログインしました ***"},
     {"0011 10.0.0.2 me"}, true, false},
    {"the own announcement with echo", {}, Hello("10.0.0.1", "me"),
     {"me"}, {"T Received CMD_HELLO 10.0.0.1", "T Received My Send CMD_HELLO", "N *** <<me>> がログインしました ***"},
     {"0011 10.0.0.1 me"}, true},
    {"a reply adds its sender", {}, HelloReply("10.0.0.2", "10.0.0.1", "bob"),
     {"bob"}, {"T Received RSP_HELLO 10.0.0.2", "T Received My RSP_HELLO", kBobIn}, {}},
    {"a reply from a member", {{"bob", "10.0.0.2"}}, HelloReply("10.0.0.2", "10.0.0.1", "bob"),
     {"bob"}, {"T Received RSP_HELLO 10.0.0.2", "T Received My RSP_HELLO", "T Already connect member"}, {}},
    {"a reply for another copy, even with echo", {}, HelloReply("10.0.0.2", "10.0.0.3", "bob"),
     {}, {"T Received RSP_HELLO 10.0.0.2", "T Received Other RSP_HELLO"}, {}, true},
    {"an unterminated reply ends its fields at their width", {}, UnterminatedReply(),
     {std::string(50, 'A')}, {"T Received RSP_HELLO " + std::string(16, 'A'), "T Received My RSP_HELLO",
                              "N *** <<" + std::string(50, 'A') + ">> がログインしています ***"}, {}},
    {"a late answer lists its member again", {}, HealthReply("10.0.0.2", "10.0.0.1", "bob"),
     {"bob"}, {"T Received RSP_HLTHY 10.0.0.2", kBobIn}, {}},
    {"an answer from a member", {{"bob", "10.0.0.2"}}, HealthReply("10.0.0.2", "10.0.0.1", "bob"),
     {"bob"}, {"T Received RSP_HLTHY 10.0.0.2"}, {}},
    {"an answer for another copy, even with echo", {}, HealthReply("10.0.0.2", "10.0.0.3", "bob"),
     {}, {"T Received RSP_HLTHY 10.0.0.2", "T Received Other RSP_HLTHY"}, {}, true},
    {"a query from a stranger is answered", {}, Stamped([](auto p) { return BuildHealthQuery(p, Address("10.0.0.9")); }),
     {}, {}, {"0061 10.0.0.9 me"}},
    {"a departure by address", {{"bob", "10.0.0.2"}, {"bobby", "10.0.0.22"}}, Bye("10.0.0.2"),
     {"bobby"}, {"T Received CMD_BYE 10.0.0.2", "N *** <<bob>> がログアウトしました ***"}, {}},
    {"a departure of a stranger", {}, Bye("10.0.0.2"), {}, {"T Received CMD_BYE 10.0.0.2", "T Already disconnect member"}, {}},
    {"a chat from a member", {{"bob", "10.0.0.2"}}, Chat(code::kBcMsg, "10.0.0.2", "bob"),
     {"bob"}, {"T Received BC_MSG 10.0.0.2", "C bob > msg"}, {}},
    {"a chat while minimised alerts first", {{"bob", "10.0.0.2"}}, Chat(code::kBcMsg, "10.0.0.2", "bob"),
     {"bob"}, {"T Received BC_MSG 10.0.0.2", "C bob > msg", "ALERT"}, {}, false, true, true},
    {"a chat from a stranger", {}, Chat(code::kBcMsg, "10.0.0.9", "eve"),
     {}, {"T Received BC_MSG 10.0.0.9", "T Not connect member"}, {}},
    {"the own chat with echo", {{"me", "10.0.0.1"}}, Chat(code::kBcMsg, "10.0.0.1", "me"),
     {"me"}, {"T Received BC_MSG 10.0.0.1", "T Received My Sned BC_MSG", "C me > msg"}, {}, true},
    {"a message chosen for another copy", {{"bob", "10.0.0.2"}}, Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.3"),
     {"bob"}, {"T Received SL_MSG 10.0.0.2", "T Received Other SL_MSG"}, {}},
    {"a message chosen for another copy, with echo", {{"bob", "10.0.0.2"}}, Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.3"),
     {"bob"}, {"T Received SL_MSG 10.0.0.2", "T Received Other SL_MSG", "T Received My SL_MSG", "C bob(特定)> msg"}, {}, true},
    {"a message chosen for this copy", {{"bob", "10.0.0.2"}}, Chat(code::kSlMsg, "10.0.0.2", "bob", "10.0.0.1"),
     {"bob"}, {"T Received SL_MSG 10.0.0.2", "T Received My SL_MSG", "C bob(特定)> msg"}, {}},
    {"a refusal for another copy", {}, LogoutRequest("10.0.0.12"), {}, {"T Received Other REQ_OUT"}, {}},
    {"a refusal logs out first, then tells", {{"bob", "10.0.0.2"}}, LogoutRequest("10.0.0.1"),
     {}, {"N *** ログアウトしました ***", "B <<me>> はすでに使用されているハンドル名です。\n別のハンドル名でログインして下さい。"},
     {"0020 10.0.0.1"}},
    {"an unknown code", {}, [] { Bytes p = Bye("10.0.0.2"); std::memcpy(p.data() + 4, "0070", 4); return p; }(), {}, {}, {}},
};

class DispatcherCases : public DispatcherTest, public testing::WithParamInterface<Case> {};

TEST_P(DispatcherCases, ShowsListsAndAnswers) {
  const Case& c = GetParam();
  SCOPED_TRACE(c.name);
  for (const auto& [handle, address] : c.members) AddMember(handle, address);
  session.State().m_bEcho = c.echo ? 1 : 0;
  session.State().m_bLoggedIn = c.loggedIn ? 1 : 0;
  window.SetIconic(c.iconic);
  window.ClearLines();
  Dispatch(c.packet);
  EXPECT_EQ(window.Handles(), c.handles);
  EXPECT_EQ(Shown(), c.shown);
  EXPECT_EQ(Answers(), c.answers);
}

INSTANTIATE_TEST_SUITE_P(Packets, DispatcherCases, testing::ValuesIn(kCases));

TEST_F(DispatcherTest, OwnPacketsAreKnownByAddressAndTheLastTagButARefusalNever) {
  session.State().m_nLastSendTag = 41;
  Dispatch(Stamped([](auto p) { return BuildBye(p, Address("10.0.0.1")); }, 41));
  EXPECT_EQ(Shown(), Strings{"T Received Own Message"});
  // Every thread's tags start at 41: a refusal may carry the tag of our own announcement.
  Dispatch(LogoutRequest("10.0.0.1", 41));
  EXPECT_EQ(session.State().m_bLoggedIn.load(), 0);
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
      else Dispatch(Bye("10.0.0.2"));
    };
    if (byeFirst) Dispatch(Bye("10.0.0.2"));
    else session.Liveness().ReportSilentMembers();
    window.onLine = nullptr;
    EXPECT_EQ(window.Texts(LineKind::Notice),
              Strings{byeFirst ? "*** <<bob>> がログアウトしました ***" : "*** <<bob>> はログアウトしたかもしれません ***"});
    EXPECT_TRUE(window.Handles().empty());
  }
}

// The real timings (every other test injects short ones), and a check over more members
// than the tables were once built for, of which one stays silent.
TEST_F(DispatcherTest, LivenessAsksEveryNinetySecondsAndWaitsTenForAnswers) {
  session.State().m_bLoggedIn = 0;
  session.Login(Handle("me"));
  EXPECT_EQ(window.Timers().at(LivenessTimer::Probe), std::chrono::seconds(90));
  for (int i = 0; i < 150; ++i) AddMember(("m" + std::to_string(i)).c_str(), ("10.1.0." + std::to_string(i)).c_str());
  session.OnTimer(LivenessTimer::Probe);
  EXPECT_EQ(window.Timers().at(LivenessTimer::Answer), std::chrono::seconds(10));
  EXPECT_EQ(window.Caption(), "メンバリスト更新中・・・");
  for (int i = 0; i < 150; ++i)
    if (i != 120) session.Liveness().MarkAlive(Address("10.1.0." + std::to_string(i)));
  window.ClearLines();
  session.OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(window.Caption(), "接続中のメンバ");
  EXPECT_EQ(window.Timers().count(LivenessTimer::Answer), 0u);
  EXPECT_EQ(session.Members().Count(), 149);
  EXPECT_EQ(window.Texts(LineKind::Notice), Strings{"*** <<m120>> はログアウトしたかもしれません ***"});
  session.Logout();
  EXPECT_TRUE(window.Timers().empty());
}

}  // namespace
}  // namespace korvane
