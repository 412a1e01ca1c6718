// SPDX-License-Identifier: MIT
// The settings file on real files in a temporary folder, and the address entry's rules.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/CodePage.h"
#include "settings/AddressEntry.h"
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

// A new installation starts black on white.
TEST_F(SettingsFileTest, MissingFileIsCreatedBlackOnWhite) {
  SettingsRecord record;
  EXPECT_EQ(LoadSettings(record, path), std::nullopt);
  EXPECT_EQ(record.crText, 0x000000u);
  EXPECT_EQ(record.crBack, 0xFFFFFFu);
  EXPECT_EQ(test::ReadBytes(path), Bytes(record));
  using std::filesystem::perms;  // its owner may read and write it
  EXPECT_EQ(std::filesystem::status(path).permissions() & perms::owner_all, perms::owner_read | perms::owner_write);
}

// The record is the file's first bytes as they stand (their offsets are fixed in the record),
// a full phrase read whole, a short file's with a zero tail. Written, every phrase loses its
// last byte, in the record too, and a longer file keeps its bytes past the record.
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
  test::WriteBytes(path, "Z");  // a short file: nothing of what the record held is kept
  ASSERT_EQ(ReadSettingsFile(record, path), std::nullopt);
  EXPECT_EQ(Bytes(record), "Z" + std::string(kSize - 1, '\0'));
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

// (That an accepted address, split again as an update shows it, gives it again is fuzzed.)
TEST(AddressEntryTest, FirstFailingCheckDecidesAndAcceptedOctetsAreWrittenWithoutLeadingZeros) {
  const AddressCheck missing{AddressFault::Missing, ""}, invalid{AddressFault::Invalid, ""};
  const std::pair<OctetTexts, AddressCheck> cases[] = {
      {{"192", "168", "001", "010"}, {AddressFault::None, "192.168.1.10"}},
      {{"10", "0", "0", "0"}, {AddressFault::None, "10.0.0.0"}},
      {{"255", "255", "255", "255"}, {AddressFault::None, "255.255.255.255"}},
      {{"0", "1", "1", "1"}, invalid}, {{"000", "1", "1", "1"}, invalid}, {{"256", "1", "1", "1"}, invalid},
      {{"1", "256", "1", "1"}, invalid}, {{"1", "1", "256", "1"}, invalid}, {{"1", "1", "1", "256"}, invalid},
      {{"1", "1", "1", "99999999999"}, invalid}, {{"1a", "1", "1", "1"}, invalid}, {{"1", " 1", "1", "1"}, invalid},
      {{"1", "1", "-1", "1"}, invalid}, {{"1", "1", "1", Utf8ToCp932("１")}, invalid},
      {{"", "1a", "1", "1"}, missing}, {{"1a", "1", "1", ""}, missing}, {{"", "", "", ""}, missing},
  };
  for (const auto& [octets, check] : cases)
    EXPECT_EQ(CheckOctets(octets), check) << octets[0] + "|" + octets[1] + "|" + octets[2] + "|" + octets[3];
}

TEST(AddressEntryTest, StoredTextEditedByHandSplitsIntoAtMostThreeCharactersAField) {
  const std::pair<std::string, OctetTexts> cases[] = {
      {"10.0.0", {"10", "0", "0", ""}}, {"", {"", "", "", ""}}, {"1234.5.6.7", {"123", "5", "6", "7"}},
      {" 1 2..3.4.5", {"1", "2", "3", "4"}}, {Utf8ToCp932("あい.1"), {Utf8ToCp932("あ"), "1", "", ""}},
  };
  for (const auto& [stored, octets] : cases) EXPECT_EQ(SplitAddress(stored), octets) << stored;
}

}  // namespace
}  // namespace korvane
