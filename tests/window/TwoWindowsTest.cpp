// Two real windows on two loopback hosts chatting, as two people would.

#include <gtest/gtest.h>

#include "display/CMemberList.h"
#include "resources/ControlIds.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"

namespace korvane {
namespace {

using test::Control;
using test::ProcessUntil;


bool Shows(CChatDlg& window, const std::string& line) {
  const auto lines = test::DisplayedLines(*Control<CMessageList>(window, id::kMessageList));
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(TwoWindows, ChatWithEverybodyAndWithOne) {
  test::MessageBoxRecorder boxes;
  test::WindowNetwork network(2);
  std::vector<std::unique_ptr<CChatDlg>> windows;
  for (int host : {0, 1}) {
    SettingsRecord settings = test::PlainSettings();
    settings.nLogMode = 1;
    std::strcpy(settings.szLogFile, network.LogFile(host).c_str());
    windows.push_back(std::make_unique<CChatDlg>(network.OptionsFor(host, settings)));
    windows.back()->show();
  }
  CChatDlg& alice = *windows[0];
  CChatDlg& bob = *windows[1];

  test::TypeAndEnter(Control<QLineEdit>(alice, id::kHandleInput), "alice");
  // Bob's copy reads alice's announcement before bob logs in.
  ASSERT_TRUE(ProcessUntil([&] {
    return test::ReadBytes(network.LogFile(1)).find("Disposed Message (not login)") != std::string::npos;
  }));
  test::TypeAndEnter(Control<QLineEdit>(bob, id::kHandleInput), QStringLiteral("ボブ"));
  ASSERT_TRUE(ProcessUntil([&] { return alice.MemberCount() == 1 && bob.MemberCount() == 1; }));
  EXPECT_TRUE(Shows(alice, "*** <<ボブ>> がログインしました ***"));
  EXPECT_TRUE(Shows(bob, "*** <<alice>> がログインしています ***"));

  test::TypeAndEnter(Control<QLineEdit>(alice, id::kMessageInput), QStringLiteral("こんにちは"));
  ASSERT_TRUE(ProcessUntil([&] { return Shows(bob, "alice > こんにちは"); }));
  EXPECT_TRUE(Shows(alice, "alice > こんにちは"));

  Control<CMemberList>(bob, id::kMemberList)->topLevelItem(0)->setSelected(true);
  test::TypeAndEnter(Control<QLineEdit>(bob, id::kMessageInput), "just you");
  ASSERT_TRUE(ProcessUntil([&] { return Shows(alice, "ボブ(特定)> just you"); }));
  EXPECT_TRUE(Shows(bob, "ボブ > just you"));

  test::TypeAndEnter(Control<QLineEdit>(bob, id::kMessageInput), "bye");
  ASSERT_TRUE(ProcessUntil([&] { return alice.MemberCount() == 0; }));
  EXPECT_TRUE(Shows(alice, "*** <<ボブ>> がログアウトしました ***"));

  // Both logs hold the conversation as shown, in code page 932.
  const std::string aliceLog = test::ReadBytes(network.LogFile(0));
  const std::string bobLog = test::ReadBytes(network.LogFile(1));
  for (const char* line : {"] alice > こんにちは\r\n", "] ボブ(特定)> just you\r\n"})
    EXPECT_NE(aliceLog.find(Utf8ToCp932(line)), std::string::npos) << line;
  for (const char* line : {"] alice > こんにちは\r\n", "] ボブ > just you\r\n", "] *** ログアウトしました ***\r\n"})
    EXPECT_NE(bobLog.find(Utf8ToCp932(line)), std::string::npos) << line;
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
}  // namespace korvane
