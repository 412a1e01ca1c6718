// SPDX-License-Identifier: MIT
// A chat log on a real file in a temporary folder, with a fixed clock; then the rules of its
// text: the stamp, the cap and the order a wrapped log is read back in.

#include "chatlog/ChatLog.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <fcntl.h>
#include <sys/resource.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "chatlog/LogFailureNotice.h"
#include "chatlog/LogReadBack.h"
#include "chatlog/LogSizeCap.h"
#include "chatlog/LogStamp.h"
#include "platform/CodePage.h"
#include "platform/ShellOpen.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Wait.h"

namespace korvane::test {
namespace {

class ChatLogTest : public ::testing::Test {
 protected:
  static constexpr std::time_t kNow = 981645553;

  // Puts logging on name in force as the settings dialog would; without a cap, uncapped.
  FileResult Configure(const std::string& name, const char* cap = nullptr) {
    SettingsRecord settings;
    settings.nLogMode = 1;
    std::memcpy(settings.szLogFile, name.data(), std::min(name.size(), sizeof settings.szLogFile));
    settings.bLogSizeLimit = cap != nullptr;
    if (cap) std::strcpy(settings.szLogSizeKB, cap);
    return log.ConfigureLog(settings);
  }
  // A text that makes a line of exactly size bytes.
  static std::string TextOfLine(char fill, std::size_t size) { return std::string(size - kLogStampSize - 2, fill); }
  std::string Line(std::string_view text) const { return FormatLogStamp(now) + std::string(text) + "\r\n"; }
  std::string File() const { return ReadBytes(logPath); }

  TempFolder folder;
  const std::string logPath = folder.Path("chat.log");
  std::time_t now = kNow;
  CChatLog log{[this] { return now; }};
};

// Once there is a name, the desktop's opener gets a copy in UTF-8, its lines oldest first,
// written afresh in the folder given, logging on or off (a stand-in for xdg-open notes its
// argument). A name stored without its zero byte, a double-byte character across its last
// place, is cut before that character. (What a line keeps of its text is fuzzed.)
TEST_F(ChatLogTest, ViewLogHandsTheDesktopAUtf8CopyInTimeOrder) {
  const std::string noted = folder.Path("xdg-open.arg"), view = folder.Path("view");
  WriteBytes(folder.Path("xdg-open"), "#!/bin/sh\nprintf %s \"$1\" >\"$0.tmp\" && mv \"$0.tmp\" \"$0.arg\"\n");
  std::filesystem::permissions(folder.Path("xdg-open"), std::filesystem::perms::owner_all);
  std::filesystem::create_directory(view);
  const std::string path = ::getenv("PATH");
  ::setenv("PATH", (folder.Path("") + ":" + path).c_str(), 1);
  ShellOpen("-v");  // a name, which the opener must not take for an option
  WaitUntil([&] { return std::filesystem::exists(noted); });
  EXPECT_EQ(ReadBytes(noted), "./-v");
  std::filesystem::remove(noted);
  EXPECT_EQ(log.ViewLog(view), std::nullopt);
  Configure(folder.Path(Utf8ToCp932("ログ")), "1");
  for (const char fill : {'a', 'b', 'c', 'd'}) log.WriteLogLine(TextOfLine(fill, 400));  // d over a
  log.WriteLogLine(Utf8ToCp932("新"));  // over the start of b
  log.ConfigureLog(SettingsRecord{});  // off: the name and the cap stay
  EXPECT_FALSE(log.LogOn());
  EXPECT_EQ(log.ViewLog(view), std::nullopt);
  ::setenv("PATH", path.c_str(), 1);
  WaitUntil([&] { return std::filesystem::exists(noted); });
  EXPECT_EQ(ReadBytes(noted), view + "/ログ (UTF-8).txt");
  EXPECT_EQ(ReadBytes(ReadBytes(noted)), Line(TextOfLine('c', 400)) + Line(TextOfLine('d', 400)) + Line("新"));
  EXPECT_EQ(log.ViewLog(folder.Path("gone"))->fileName, folder.Path(Utf8ToCp932("gone/ログ (UTF-8).txt")));
  Configure(std::string(298, 'n') + Utf8ToCp932("あ"));
  EXPECT_EQ(log.LogFileName(), std::string(298, 'n'));
}

TEST_F(ChatLogTest, LinesFromOneThreadAndCommandsFromAnotherDoNotRace) {
  Configure(logPath, "1");
  std::thread receiver([this] { for (int i = 0; i < 200; ++i) log.WriteLogLine(TextOfLine('r', 100)); });
  for (int i = 0; i < 50; ++i) {
    log.ClearLog();
    Configure(logPath, "1");
  }
  receiver.join();
  // Every line starts at a multiple of 100, and none past the cap.
  EXPECT_EQ(File().size() % 100, 0u);
  EXPECT_LE(File().size(), 1100u);
}

// Nothing is added to the file, and under a cap the next line goes where the lost one would
// have gone: to the end of what is there by then when the position was never known.
TEST_F(ChatLogTest, FailuresAreReportedAndTheNextLineTriesAgain) {
  const std::string later = folder.Path("later/chat.log");
  const FileResult configured = Configure(later, "1");  // the measure fails too
  for (const FileResult& result : {configured, log.WriteLogLine("lost")})
    EXPECT_EQ(result ? FileErrorText(*result) : "written", "[ERROR] Open File(" + later + ")");
  std::filesystem::create_directory(folder.Path("later"));
  WriteBytes(later, std::string(50, '#'));
  EXPECT_EQ(log.WriteLogLine("kept"), std::nullopt);
  EXPECT_EQ(ReadBytes(later), std::string(50, '#') + Line("kept"));

  WriteBytes(logPath, std::string(1000, '#'));
  Configure(logPath, "4");
  // As a full disk would: room for part of the stamp only.
  const sighandler_t handler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  const rlimit tight{1010, previous.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  const FileResult failed = log.WriteLogLine("too much");
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, handler);
  EXPECT_EQ(failed ? FileErrorText(*failed) : "written", "[ERROR] Write File(" + logPath + ")");
  log.WriteLogLine("fits");
  EXPECT_EQ(File(), std::string(1000, '#') + Line("fits"));
}

// Between two lines the user may delete, rename, empty or replace the file (ログのクリア, an
// editor, a log rotator): the next line goes to the file that has the name then, created when
// missing, with or without a cap. The file is held open only while logging is on, and no
// program the log starts inherits it.
TEST_F(ChatLogTest, TheNextLineGoesToWhateverFileHasTheNameThen) {
  const std::string aside = folder.Path("aside");
  const std::tuple<const char*, std::function<void()>, std::string> cases[] = {  // change, what stays
      {"deleted", [&] { std::filesystem::remove(logPath); }, ""},
      {"renamed", [&] { std::filesystem::rename(logPath, aside); }, ""},
      {"emptied", [&] { WriteBytes(logPath, ""); }, ""},
      {"replaced", [&] { WriteBytes(aside, "new\r\n"), std::filesystem::rename(aside, logPath); }, "new\r\n"},
  };
  for (const char* cap : {static_cast<const char*>(nullptr), "1"}) {
    for (const auto& [what, change, kept] : cases) {
      std::filesystem::remove(logPath);
      Configure(logPath, cap);
      log.WriteLogLine("before");
      change();
      ++now;
      EXPECT_EQ(log.WriteLogLine("after"), std::nullopt);
      EXPECT_EQ(File(), kept + Line("after")) << what << (cap ? " capped" : "");
    }
  }
  const auto openOnLog = [&] {
    std::vector<int> flags;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
      std::error_code notALink;
      if (std::filesystem::read_symlink(fd, notALink) == logPath)
        flags.push_back(::fcntl(std::stoi(fd.path().filename()), F_GETFD));
    }
    return flags;
  };
  EXPECT_EQ(openOnLog(), std::vector<int>{FD_CLOEXEC});
  log.ConfigureLog(SettingsRecord{});
  EXPECT_EQ(openOnLog(), std::vector<int>{});
}

// The lines of one packet stay in the file the first of them found; a line from another
// thread, ログのクリア (no hole) and new settings make the next line follow the name again.
TEST_F(ChatLogTest, OnePacketsLinesStayInOneFile) {
  const std::string aside = folder.Path("aside"), moved = folder.Path("moved.log");
  Configure(logPath);
  log.HoldName();
  log.WriteLogLine("one");
  std::filesystem::rename(logPath, aside);
  log.WriteLogLine("two");
  std::thread([&] { log.WriteLogLine("other"); }).join();
  EXPECT_EQ(ReadBytes(aside), Line("one") + Line("two"));
  EXPECT_EQ(File(), Line("other"));
  log.ClearLog();
  log.WriteLogLine("three");
  Configure(moved);
  log.WriteLogLine("four");
  log.ReleaseName();
  EXPECT_EQ(File(), Line("three"));
  EXPECT_EQ(ReadBytes(moved), Line("four"));
}

// Steps: 'o' an open failure, 'w' a write failure, '.' a line written; told: '+' where the
// user is told of that failure, '-' where not.
TEST(LogFailureNotice, AFailureIsToldOnceUntilALineIsWritten) {
  for (const auto& [steps, told] : {std::pair<std::string, std::string>{"wwo", "+--"}, {".oo.ww", "-+--+-"}}) {
    LogFailureNotice notice;
    std::string seen;
    for (const char step : steps) {
      FileResult result;
      if (step != '.') result = FileFailure{step == 'o' ? FileAction::Open : FileAction::Write, "chat.log"};
      const FileResult filtered = notice.Filter(result);
      seen += !filtered ? '-' : FileErrorText(*filtered) == FileErrorText(*result) ? '+' : '?';
    }
    EXPECT_EQ(seen, told) << steps;
  }
}

// An old file that reaches the cap is overwritten from the start (a log exactly at its cap
// wraps); without a cap, or below one, it is appended to. The ring's other rules, clearing
// and files shortened behind the log's back are fuzzed.
TEST_F(ChatLogTest, OldFileIsOverwrittenFromTheStartUnderACapAndAppendedToWithout) {
  const std::string old(1024, '#');
  const std::string lines = Line("one") + Line("two");
  for (const char* cap : {static_cast<const char*>(nullptr), "0", "4194304", "1"}) {
    WriteBytes(logPath, old);
    Configure(logPath, cap);
    log.WriteLogLine("one");
    log.WriteLogLine("two");
    EXPECT_EQ(File(), cap && cap[0] == '1' ? lines + old.substr(lines.size()) : old + lines) << (cap ? cap : "none");
  }
}

TEST(LogStamp, HasTheClassicFormInLocalTimeWithTheDayRightAligned) {
  const char* previous = ::getenv("TZ");
  const std::string saved = previous ? previous : "";
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  EXPECT_EQ(FormatLogStamp(981645553), "[Fri Feb  9 00:19:13 2001] ");  // 15:19:13 on the 8th in UTC
  // Years the classic form cannot hold keep the width.
  EXPECT_EQ(FormatLogStamp(253402300800), "[??? ??? ?? ??:??:?? ????] ");  // year 10000
  EXPECT_EQ(FormatLogStamp(std::numeric_limits<std::time_t>::max()).size(), kLogStampSize);
  previous ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
}

TEST(LogSizeCap, IsReadLikeAtoiAndBelowOneMeansNone) {
  const std::pair<const char*, std::int32_t> caps[] = {
      {"1", 1}, {" 12x", 12}, {"\t+7", 7}, {"99999999999999999999", INT_MAX}, {"0", kNoLogSizeCap},
      {"", kNoLogSizeCap}, {"abc", kNoLogSizeCap}, {"- 5", kNoLogSizeCap}, {"-99999999999999999999", kNoLogSizeCap}};
  for (const auto& [text, cap] : caps) EXPECT_EQ(LogSizeCapKB(text), cap) << '"' << text << '"';
}

// Lines of 33 bytes; a capped log that wrapped has its oldest lines after the write position.
TEST(LogReadBack, OldestLinesFirstLessThePieceTheNewestOverwrote) {
  const auto line = [](const char* text) { return "[Thu Feb  8 15:19:13 2001] " + Utf8ToCp932(text) + "\r\n"; };
  const std::string a = line("aaaa"), b = line("bbbb"), c = line("cccc"), kana = line("かな");
  const std::tuple<const char*, std::string, std::int64_t, std::string> cases[] = {  // log, file, position, read
      {"not wrapped yet", a + b, 66, a + b},
      {"wrapped at a line's start", c + b, 33, b + c},
      {"wrapped inside a line", c + b.substr(5) + a, 33, a + c},
      {"wrapped inside a double-byte character", a + kana.substr(28) + b, 33, b + a},
      {"the oldest line cut after its stamp", c + a.substr(0, 27), 33, a.substr(0, 27) + c},
      {"empty", "", 0, ""},
  };
  for (const auto& [log, file, position, read] : cases) EXPECT_EQ(LogInTimeOrder(file, position), read) << log;
}

}  // namespace
}  // namespace korvane::test
