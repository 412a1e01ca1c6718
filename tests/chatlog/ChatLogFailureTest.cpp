#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <vector>

#include "chatlog/LogFailureNotice.h"

#include "tests/chatlog/ChatLogFixture.h"

namespace korvane::test {
namespace {

TEST_F(ChatLogTest, UnopenableLogFailsEveryTryAndTheNextLineTriesAgain) {
  const std::string path = folder.Path("later/chat.log");
  const FileResult configured = Configure(path, "1");  // the measure fails too
  for (const FileResult& result : {configured, log.WriteLogLine("lost one"), log.WriteLogLine("lost two")}) {
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(FileErrorText(*result), "[ERROR] Open File(" + path + ")");
  }
  // The position was never known: the next line goes to the end of what is there by then.
  std::filesystem::create_directory(folder.Path("later"));
  WriteBytes(path, std::string(50, '#'));
  EXPECT_EQ(log.WriteLogLine("kept"), std::nullopt);
  EXPECT_EQ(ReadBytes(path), std::string(50, '#') + Line("kept"));
}

TEST_F(ChatLogTest, FailedWriteIsReportedAndTakesBackWhatItAdded) {
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

  EXPECT_EQ(File(), std::string(1000, '#'));
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(FileErrorText(*failed), "[ERROR] Write File(" + logPath + ")");
  log.WriteLogLine("fits");
  EXPECT_EQ(File(), std::string(1000, '#') + Line("fits"));
}

// One attempt to log a line, and whether the user is told of it.
struct Attempt {
  std::optional<FileAction> failure;  // none: the line was written
  bool told;
};

TEST(LogFailureNotice, AFailureIsToldOnceUntilALineIsWritten) {
  constexpr auto kWrite = FileAction::Write;
  constexpr auto kOpen = FileAction::Open;
  const std::vector<std::vector<Attempt>> cases = {
      {{kWrite, true}, {kWrite, false}, {kOpen, false}},
      {{std::nullopt, false}, {kOpen, true}, {kOpen, false}, {std::nullopt, false}, {kWrite, true}, {kWrite, false}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    LogFailureNotice notice;
    for (std::size_t step = 0; step < cases[i].size(); ++step) {
      const Attempt& attempt = cases[i][step];
      FileResult result;
      if (attempt.failure) result = FileFailure{*attempt.failure, "chat.log"};
      const FileResult told = notice.Filter(result);
      EXPECT_EQ(told.has_value(), attempt.told) << "case " << i << " step " << step;
      if (told) {
        EXPECT_EQ(FileErrorText(*told), FileErrorText(*result));
      }
    }
  }
}

}  // namespace
}  // namespace korvane::test
