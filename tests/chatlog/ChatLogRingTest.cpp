#include <filesystem>

#include "tests/chatlog/ChatLogFixture.h"

namespace korvane::test {
namespace {

TEST_F(ChatLogTest, CappedLogWrapsAtTheFirstLineStartingAtOrPastTheCap) {
  // 8 lines of 128 end on 1,024; the 11th line of 100 starts at 1,000 and ends past the cap.
  for (const auto& [lineSize, fitting] : {std::pair<std::size_t, char>{128, 8}, {100, 11}}) {
    std::filesystem::remove(logPath);
    Configure(logPath, "1");
    for (char fill = 'a'; fill < 'a' + fitting; ++fill)
      log.WriteLogLine(TextOfLine(fill, lineSize));
    log.WriteLogLine(TextOfLine('z', lineSize));
    const std::string file = File();
    ASSERT_EQ(file.size(), lineSize * fitting);
    EXPECT_EQ(file.substr(0, lineSize), Line(TextOfLine('z', lineSize)));
    EXPECT_EQ(file.substr(file.size() - lineSize), Line(TextOfLine('a' + fitting - 1, lineSize)));
    EXPECT_EQ(log.LogSize(), static_cast<std::int64_t>(lineSize));
  }
}

TEST_F(ChatLogTest, OldFileIsOverwrittenFromTheStartUnderACapAndAppendedToWithout) {
  const std::string old(5000, '#');
  const std::string lines = Line("one") + Line("two");
  for (const auto capText :
       {std::optional<std::string_view>(), {"0"}, {""}, {"abc"}, {"-5"}, {"4194304"}, {"1"}}) {
    WriteBytes(logPath, old);
    Configure(logPath, capText);
    log.WriteLogLine("one");
    log.WriteLogLine("two");
    EXPECT_EQ(File(), capText == "1" ? lines + old.substr(lines.size()) : old + lines)
        << capText.value_or("no cap");
  }
}

TEST_F(ChatLogTest, EmptiedOrRemovedFileIsWrittenFromTheStartWithoutAHole) {
  Configure(logPath, "1");
  log.WriteLogLine("old");
  log.ClearLog();
  EXPECT_EQ(File(), "");
  EXPECT_EQ(log.LogSize(), 0);
  log.WriteLogLine("new");
  EXPECT_EQ(File(), Line("new"));

  std::filesystem::remove(logPath);  // behind the log's back
  log.WriteLogLine("again");
  EXPECT_EQ(File(), Line("again"));
}

}  // namespace
}  // namespace korvane::test
