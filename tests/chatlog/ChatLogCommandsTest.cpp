#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/CodePage.h"
#include "tests/support/Wait.h"
#include "tests/chatlog/ChatLogFixture.h"

namespace korvane::test {
namespace {

TEST_F(ChatLogTest, TextIsWrittenAsHandedUpToAZeroAndWithinTheLineLimit) {
  Configure(folder.Path(Utf8ToCp932("ログ.txt")), std::nullopt);
  const std::string japanese = Utf8ToCp932("こんにちは、世界");
  log.WriteLogLine(japanese);
  log.WriteLogLine(std::string("cut\0here", 8));
  // 5,001 bytes with a double-byte character across the 4,999-byte limit.
  log.WriteLogLine(std::string(4998, 'a') + Utf8ToCp932("あ") + "b");
  EXPECT_EQ(ReadBytes(folder.Path("ログ.txt")),
            Line(japanese) + Line("cut") + Line(std::string(4998, 'a')));
}

TEST_F(ChatLogTest, ConfigureLogKeepsTheNameWithinItsFieldAndOffKeepsTheRest) {
  // Stored without its zero byte, a double-byte character across the last place.
  Configure(std::string(298, 'n') + Utf8ToCp932("あ"), "4");
  EXPECT_TRUE(log.LogOn());
  EXPECT_EQ(log.LogFileName(), std::string(298, 'n'));
  log.ConfigureLog(SettingsRecord{});
  EXPECT_FALSE(log.LogOn());
  EXPECT_EQ(log.LogFileName(), std::string(298, 'n'));
  EXPECT_EQ(log.LogSizeLimitKB(), 4);
}

// Once there is a name: the desktop's opener gets it in UTF-8, and never as an option.
TEST_F(ChatLogTest, ViewLogHandsTheNameToTheDesktopOnceThereIsOne) {
  const std::string noted = folder.Path("xdg-open.arg");  // a stand-in for xdg-open notes its argument
  WriteBytes(folder.Path("xdg-open"), "#!/bin/sh\nprintf %s \"$1\" >\"$0.tmp\" && mv \"$0.tmp\" \"$0.arg\"\n");
  std::filesystem::permissions(folder.Path("xdg-open"), std::filesystem::perms::owner_all);
  const std::string path = ::getenv("PATH");
  ::setenv("PATH", (folder.Path("") + ":" + path).c_str(), 1);
  log.ViewLog();
  Configure(Utf8ToCp932("-ログ.txt"), std::nullopt);
  log.ViewLog();
  ::setenv("PATH", path.c_str(), 1);
  test::WaitUntil([&] { return std::filesystem::exists(noted); });
  EXPECT_EQ(ReadBytes(noted), "./-ログ.txt");
}

TEST_F(ChatLogTest, LinesFromOneThreadAndCommandsFromAnotherDoNotRace) {
  Configure(logPath, "1");
  std::thread receiver([this] {
    for (int i = 0; i < 200; ++i) log.WriteLogLine(TextOfLine('r', 100));
  });
  for (int i = 0; i < 50; ++i) {
    log.ClearLog();
    Configure(logPath, "1");
  }
  receiver.join();
  // Every line starts at a multiple of 100, and none past the cap.
  EXPECT_EQ(File().size() % 100, 0u);
  EXPECT_LE(File().size(), 1100u);
}

}  // namespace
}  // namespace korvane::test
