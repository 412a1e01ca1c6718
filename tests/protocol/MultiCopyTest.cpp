// Several copies on loopback addresses form a working network without any window.

#include <gtest/gtest.h>

#include "tests/support/LoopbackLan.h"
#include "tests/support/MessageBoxRecorder.h"

namespace korvane {
namespace {

using test::LoopbackLan;

bool HasMembers(test::Copy& copy, std::vector<std::string> handles) {
  return copy.window.Handles() == handles;
}

// Until copy has read a packet while logged out (another copy's announcement).
bool SawWhileLoggedOut(test::Copy& copy) {
  return copy.window.Shows("Disposed Message (not login)", LineKind::Trace);
}

// All copies logged in one after another, each seeing all the others.
void LogInAll(LoopbackLan& lan, std::vector<std::string> handles) {
  for (std::size_t i = 0; i < handles.size(); ++i) {
    lan[static_cast<int>(i)].Login(handles[i]);
    // Let the announcement reach everybody before the next copy logs in.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (std::size_t j = 0; j <= i; ++j) {
      ASSERT_TRUE(LoopbackLan::WaitUntil([&] {
        return lan[static_cast<int>(j)].window.Handles().size() == i;
      })) << "copy " << j << " after login " << i;
    }
  }
}

TEST(MultiCopy, TwoCopiesLogInAndSeeEachOther) {
  LoopbackLan lan(2);
  ASSERT_TRUE(lan.Opened());
  lan[0].Login("alice");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return SawWhileLoggedOut(lan[1]); }));
  lan[1].Login("ボブ");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return HasMembers(lan[0], {"ボブ"}) && HasMembers(lan[1], {"alice"}); }));
  EXPECT_TRUE(lan[0].window.Shows("*** <<ボブ>> がログインしました ***", LineKind::Notice));
  EXPECT_TRUE(lan[1].window.Shows("*** <<alice>> がログインしています ***", LineKind::Notice));
  EXPECT_EQ(lan[0].window.TooltipCount(), 1);
  EXPECT_EQ(lan[0].session->Members().Count(), 1);

  lan[1].Say("こんにちは、alice");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return !lan[0].window.Texts(LineKind::Chat).empty(); }));
  EXPECT_EQ(lan[0].window.Texts(LineKind::Chat), std::vector<std::string>{"ボブ > こんにちは、alice"});
  EXPECT_EQ(lan[1].window.Texts(LineKind::Chat), std::vector<std::string>{"ボブ > こんにちは、alice"});
}

TEST(MultiCopy, HandleInUseIsRefusedAndTheNewcomerEndsLoggedOut) {
  test::MessageBoxRecorder boxes;
  LoopbackLan lan(3);
  ASSERT_TRUE(lan.Opened());
  LogInAll(lan, {"alice", "bob"});
  lan[2].Login("bob");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return lan[2].session->State().m_bLoggedIn == 0; }));
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return !boxes.Boxes().empty(); }));
  // Both others refuse; the second refusal finds the newcomer logged out already.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            "<<bob>> はすでに使用されているハンドル名です。\n別のハンドル名でログインして下さい。");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_OK | MB_ICONSTOP | MB_TOPMOST);
  EXPECT_TRUE(lan[2].window.Shows("*** ログアウトしました ***", LineKind::Notice));
  EXPECT_TRUE(HasMembers(lan[0], {"bob"}));
  EXPECT_TRUE(HasMembers(lan[1], {"alice"}));
  EXPECT_TRUE(lan[2].window.Handles().empty());
  EXPECT_TRUE(lan[2].window.Timers().empty());
}

TEST(MultiCopy, LogoutRemovesTheMemberEverywhere) {
  LoopbackLan lan(3);
  ASSERT_TRUE(lan.Opened());
  LogInAll(lan, {"alice", "bob", "carol"});
  lan[1].session->Logout();
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return HasMembers(lan[0], {"carol"}) && HasMembers(lan[2], {"alice"}); }));
  EXPECT_TRUE(lan[0].window.Shows("*** <<bob>> がログアウトしました ***", LineKind::Notice));
  EXPECT_TRUE(lan[2].window.Shows("*** <<bob>> がログアウトしました ***", LineKind::Notice));
  EXPECT_TRUE(lan[1].window.Handles().empty());
  EXPECT_EQ(lan[1].window.TooltipCount(), 0);
}

TEST(MultiCopy, EchoListsTheOwnRowAndShowsOwnMessagesTwice) {
  LoopbackLan lan(2);
  ASSERT_TRUE(lan.Opened());
  lan[0].session->State().m_bEcho = 1;
  lan[0].Login("alice");
  // The own announcement comes back and lists the own row.
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return HasMembers(lan[0], {"alice"}); }));
  lan[1].Login("bob");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return HasMembers(lan[0], {"alice", "bob"}); }));
  lan[0].Say("hi");
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return lan[0].window.Texts(LineKind::Chat).size() == 2; }));
  EXPECT_EQ(lan[0].window.Texts(LineKind::Chat), (std::vector<std::string>{"alice > hi", "alice > hi"}));
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return lan[1].window.Texts(LineKind::Chat).size() == 1; }));
}

class LivenessTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lan.Opened());
    LogInAll(lan, {"alice", "bob", "carol"});
  }
  // carol's program dies: it stops answering without saying goodbye.
  void CrashCarol() {
    lan[2].session->CloseCarriers();
    lan[2].session->JoinReceiveLoop();
  }
  bool AnswerReached(test::Copy& copy, const std::string& from) {
    return copy.window.Shows("Received RSP_HLTHY " + from, LineKind::Trace);
  }
  LoopbackLan lan{3, LivenessIntervals{std::chrono::milliseconds(900), std::chrono::milliseconds(100)}};
};

TEST_F(LivenessTest, SilentMemberIsRemovedAndAnsweringOnesStayQuietly) {
  CrashCarol();
  auto& alice = lan[0];
  EXPECT_EQ(alice.window.Timers().at(LivenessTimer::Probe), std::chrono::milliseconds(900));
  alice.session->OnTimer(LivenessTimer::Probe);
  EXPECT_EQ(alice.window.Caption(), "メンバリスト更新中・・・");
  EXPECT_EQ(alice.window.Timers().at(LivenessTimer::Answer), std::chrono::milliseconds(100));
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return AnswerReached(alice, lan[1].address); }));

  alice.window.ClearLines();
  alice.session->OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(alice.window.Caption(), "接続中のメンバ");
  EXPECT_EQ(alice.window.Timers().count(LivenessTimer::Answer), 0u);
  EXPECT_EQ(alice.window.Texts(LineKind::Notice),
            std::vector<std::string>{"*** <<carol>> はログアウトしたかもしれません ***"});
  EXPECT_TRUE(HasMembers(alice, {"bob"}));
}

TEST_F(LivenessTest, RemovedMemberComesBackWithItsLateAnswer) {
  auto& alice = lan[0];
  // A check whose answers are all late: everybody is reported.
  alice.session->Liveness().SnapshotMembers();
  alice.session->Liveness().ReportSilentMembers();
  EXPECT_TRUE(alice.window.Handles().empty());
  EXPECT_TRUE(alice.window.Shows("*** <<bob>> はログアウトしたかもしれません ***", LineKind::Notice));

  alice.session->Sender().SendHealthQuery();
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return alice.window.Handles().size() == 2; }));
  EXPECT_TRUE(alice.window.Shows("*** <<bob>> がログインしています ***", LineKind::Notice));
  EXPECT_TRUE(alice.window.Shows("*** <<carol>> がログインしています ***", LineKind::Notice));
}

TEST_F(LivenessTest, LogoutDuringTheAnswerWindowReportsNobody) {
  CrashCarol();
  auto& alice = lan[0];
  alice.session->OnTimer(LivenessTimer::Probe);
  alice.session->Logout();
  EXPECT_EQ(alice.window.Timers().count(LivenessTimer::Probe), 0u);
  EXPECT_EQ(alice.window.Timers().count(LivenessTimer::Answer), 1u);  // left running, as the window does
  EXPECT_EQ(alice.window.Caption(), "接続中のメンバ");
  alice.session->OnTimer(LivenessTimer::Answer);
  for (const std::string& notice : alice.window.Texts(LineKind::Notice))
    EXPECT_EQ(notice.find("かもしれません"), std::string::npos) << notice;
}

TEST_F(LivenessTest, EmptyTableStillQueries) {
  for (int i : {1, 2}) lan[i].session->Logout();
  auto& alice = lan[0];
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] { return alice.window.Handles().empty(); }));
  lan.tap.Take(100, std::chrono::milliseconds(50));  // what went before
  alice.session->OnTimer(LivenessTimer::Probe);
  const auto wire = lan.tap.Take(1);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_TRUE(PacketView(wire[0].bytes).HasCode(code::kCmdHlthy));
  alice.session->OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(alice.session->Liveness().ProbeCount(), 0);
}

TEST_F(LivenessTest, EchoedOwnRowAnswersItselfAndStays) {
  auto& alice = lan[0];
  alice.session->State().m_bEcho = 1;
  alice.session->Members().AddMember("alice", alice.session->State().m_szOwnAddress);
  alice.session->OnTimer(LivenessTimer::Probe);
  ASSERT_TRUE(LoopbackLan::WaitUntil([&] {
    return AnswerReached(alice, lan[1].address) && AnswerReached(alice, lan[2].address) &&
           alice.window.Shows("Received My Send RSP_HLTHY", LineKind::Trace);
  }));
  alice.session->OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(alice.window.Handles(), (std::vector<std::string>{"bob", "carol", "alice"}));
}

}  // namespace
}  // namespace korvane
