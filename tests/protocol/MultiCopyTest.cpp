// Several copies on loopback addresses form a working network without any window.

#include <gtest/gtest.h>

#include "tests/support/LoopbackLan.h"
#include "tests/support/MessageBoxRecorder.h"

namespace korvane {
namespace {

using test::LoopbackLan;
using test::WaitUntil;
using Strings = std::vector<std::string>;

// Copies log in one after another, each once it and every earlier one list each other.
void LogInAll(LoopbackLan& lan, const Strings& handles) {
  for (std::size_t i = 0; i < handles.size(); ++i) {
    lan[static_cast<int>(i)].Login(handles[i]);
    for (std::size_t j = 0; j <= i; ++j)
      ASSERT_TRUE(WaitUntil([&] { return lan[static_cast<int>(j)].window.Handles().size() == i; }));
  }
}

bool Shows(test::Copy& copy, const std::string& line, LineKind kind = LineKind::Notice) {
  return WaitUntil([&] { return copy.window.Shows(line, kind); });
}

TEST(MultiCopy, TwoCopiesLogInChatAndLeave) {
  LoopbackLan lan(2);
  ASSERT_TRUE(lan.Opened());
  lan[0].Login("alice");
  ASSERT_TRUE(Shows(lan[1], "Disposed Message (not login)", LineKind::Trace));
  lan[1].Login("ボブ");
  ASSERT_TRUE(Shows(lan[0], "*** <<ボブ>> がログインしました ***"));
  ASSERT_TRUE(Shows(lan[1], "*** <<alice>> がログインしています ***"));
  EXPECT_EQ(lan[0].window.Handles(), Strings{"ボブ"});
  EXPECT_EQ(lan[1].window.Handles(), Strings{"alice"});
  EXPECT_EQ(lan[0].window.TooltipCount(), 1);

  lan[1].Say("こんにちは、alice");
  ASSERT_TRUE(Shows(lan[0], "ボブ > こんにちは、alice", LineKind::Chat));
  EXPECT_EQ(lan[1].window.Texts(LineKind::Chat), Strings{"ボブ > こんにちは、alice"});

  lan[1].session->Logout();
  ASSERT_TRUE(Shows(lan[0], "*** <<ボブ>> がログアウトしました ***"));
  EXPECT_TRUE(lan[0].window.Handles().empty());
  EXPECT_EQ(lan[1].window.TooltipCount(), 0);
}

TEST(MultiCopy, HandleInUseIsRefusedOnceAndTheNewcomerEndsLoggedOut) {
  test::MessageBoxRecorder boxes;
  LoopbackLan lan(3);
  ASSERT_TRUE(lan.Opened());
  LogInAll(lan, {"alice", "bob"});
  lan.tap.Take(100, std::chrono::milliseconds(50));  // what went before
  lan[2].window.ClearLines();
  lan[2].Login("bob");
  ASSERT_TRUE(Shows(lan[2], "*** ログアウトしました ***"));
  // Both others refuse; once the newcomer has read every broadcast since, one box is shown.
  std::vector<test::PacketCapture::Datagram> sent;
  const auto count = [&](std::string_view kind) {
    return std::count_if(sent.begin(), sent.end(), [&](const auto& d) { return PacketView(d.bytes).HasCode(kind); });
  };
  ASSERT_TRUE(WaitUntil([&] {
    for (auto& datagram : lan.tap.Take(100, std::chrono::milliseconds(1))) sent.push_back(std::move(datagram));
    return count(code::kReqOut) == 2 && count(code::kCmdBye) == 1;
  }));
  ASSERT_TRUE(WaitUntil([&] {
    const auto traces = lan[2].window.Texts(LineKind::Trace);
    return std::count(traces.begin(), traces.end(), "------------") >= static_cast<long>(sent.size());
  }));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].style, MB_OK | MB_ICONSTOP | MB_TOPMOST);
  EXPECT_EQ(lan[0].window.Handles(), Strings{"bob"});
  EXPECT_TRUE(lan[2].window.Handles().empty());
  EXPECT_TRUE(lan[2].window.Timers().empty());
}

// Real answers over the carriers keep the members that give them; a copy that died is reported.
TEST(MultiCopy, LivenessRemovesTheCopyThatDied) {
  LoopbackLan lan(3, LivenessIntervals{std::chrono::milliseconds(900), std::chrono::milliseconds(100)});
  ASSERT_TRUE(lan.Opened());
  LogInAll(lan, {"alice", "bob", "carol"});
  lan[2].session->CloseCarriers();
  lan[2].session->JoinReceiveLoop();
  auto& alice = lan[0];
  alice.session->OnTimer(LivenessTimer::Probe);
  ASSERT_TRUE(Shows(alice, "Received RSP_HLTHY " + lan[1].address, LineKind::Trace));
  alice.window.ClearLines();
  alice.session->OnTimer(LivenessTimer::Answer);
  EXPECT_EQ(alice.window.Texts(LineKind::Notice), Strings{"*** <<carol>> はログアウトしたかもしれません ***"});
  EXPECT_EQ(alice.window.Handles(), Strings{"bob"});
}

}  // namespace
}  // namespace korvane
