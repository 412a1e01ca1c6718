// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempFolder.h"

namespace korvane {
namespace {

constexpr std::size_t kSize = 7172;

std::string Bytes(const SettingsRecord& record) {
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  const std::string path = folder.Path("TOOLBOX");
};

// A new installation starts black on white; an existing file, however short, reads as it
// stands with a zero tail.
TEST_F(SettingsFileTest, MissingFileIsCreatedBlackOnWhiteAndAShortOneReadsWithAZeroTail) {
  SettingsRecord record;
  EXPECT_EQ(LoadSettings(record, path), std::nullopt);
  EXPECT_EQ(record.crText, 0x000000u);
  EXPECT_EQ(record.crBack, 0xFFFFFFu);
  EXPECT_EQ(test::ReadBytes(path), Bytes(record));
  test::WriteBytes(path, std::string(600, 'Z'));
  EXPECT_EQ(LoadSettings(record, path), std::nullopt);
  EXPECT_EQ(Bytes(record), std::string(600, 'Z') + std::string(kSize - 600, '\0'));
}

// The record is the file's first bytes as they stand (their offsets are fixed in the record),
// a full phrase read whole. Written, every phrase loses its last byte, in the record too, and
// a longer file keeps its bytes past the record.
TEST_F(SettingsFileTest, RecordIsReadRawAndWrittenWithItsPhrasesClosed) {
  std::string old(8000, '\0');
  for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<char>(i % 251 + 1);  // no zero byte
  test::WriteBytes(path, old);
  SettingsRecord record;
  ASSERT_EQ(ReadSettingsFile(record, path), std::nullopt);
  EXPECT_EQ(Bytes(record), old.substr(0, kSize));
  test::WriteBytes(path, std::string(8000, '#'));
  WriteSettingsFile(record, path);
  for (std::size_t phrase = 0; phrase < 5; ++phrase) old[4 + 32 * phrase + 31] = '\0';
  EXPECT_EQ(test::ReadBytes(path), old.substr(0, kSize) + std::string(8000 - kSize, '#'));
  EXPECT_EQ(Bytes(record), old.substr(0, kSize));
}

TEST_F(SettingsFileTest, FailuresComeBackAsTheirMessagesAndLeaveTheRecord) {
  const std::string unopenable = folder.Path("no%sdir/TOOLBOX");  // '%' must come out as it is
  SettingsRecord record;
  std::memset(record.szPhrase, 'p', sizeof record.szPhrase);
  const std::string before = Bytes(record);
  std::vector<FileResult> results{ReadSettingsFile(record, unopenable), WriteSettingsFile(record, unopenable)};
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);  // opens read-write but has no offset 0
  results.push_back(ReadSettingsFile(record, path));
  EXPECT_EQ(Bytes(record), before);
  results.push_back(WriteSettingsFile(record, path));

  std::vector<std::string> texts;
  for (const FileResult& result : results) texts.push_back(result ? FileErrorText(*result) : "done");
  EXPECT_EQ(texts,
            (std::vector<std::string>{
                "[ERROR] Open File(" + unopenable + ")", "[ERROR] Open File(" + unopenable + ")",
                "[ERROR] Read File(" + path + ")", "[ERROR] Write File(" + path + ")"}));
}

}  // namespace
}  // namespace korvane
