#include "settings/AddressEntry.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace korvane {
namespace {

constexpr auto kNone = AddressFault::None, kMissing = AddressFault::Missing, kInvalid = AddressFault::Invalid;

// An accepted address must also split back into octets that give it again.
TEST(AddressEntryTest, FirstFailingCheckDecidesAndAcceptedOctetsAreWrittenWithoutLeadingZeros) {
  const struct {
    OctetTexts octets;
    AddressCheck check;
  } cases[] = {
      {{"192", "168", "001", "010"}, {kNone, "192.168.1.10"}},
      {{"10", "0", "0", "0"}, {kNone, "10.0.0.0"}},
      {{"255", "255", "255", "255"}, {kNone, "255.255.255.255"}},
      {{"0", "1", "1", "1"}, {kInvalid, ""}},
      {{"000", "1", "1", "1"}, {kInvalid, ""}},
      {{"256", "1", "1", "1"}, {kInvalid, ""}},
      {{"1", "256", "1", "1"}, {kInvalid, ""}},
      {{"1", "1", "256", "1"}, {kInvalid, ""}},
      {{"1", "1", "1", "256"}, {kInvalid, ""}},
      {{"1", "1", "1", "99999999999"}, {kInvalid, ""}},
      {{"1a", "1", "1", "1"}, {kInvalid, ""}},
      {{"1", " 1", "1", "1"}, {kInvalid, ""}},
      {{"1", "1", "-1", "1"}, {kInvalid, ""}},
      {{"1", "1", "1", Utf8ToCp932("１")}, {kInvalid, ""}},
      {{"", "1a", "1", "1"}, {kMissing, ""}},
      {{"1a", "1", "1", ""}, {kMissing, ""}},
      {{"", "", "", ""}, {kMissing, ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.octets[0] + "|" + c.octets[1] + "|" + c.octets[2] + "|" + c.octets[3]);
    EXPECT_EQ(CheckOctets(c.octets), c.check);
    if (c.check.fault == kNone) {
      EXPECT_EQ(CheckOctets(SplitAddress(c.check.address)), c.check);
    }
  }
}

TEST(AddressEntryTest, StoredTextEditedByHandSplitsIntoAtMostThreeCharactersAField) {
  const struct {
    std::string stored;
    OctetTexts octets;
  } cases[] = {
      {"10.0.0", {"10", "0", "0", ""}},
      {"", {"", "", "", ""}},
      {"1234.5.6.7", {"123", "5", "6", "7"}},
      {" 1 2..3.4.5", {"1", "2", "3", "4"}},
      {Utf8ToCp932("あい.1"), {Utf8ToCp932("あ"), "1", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitAddress(c.stored), c.octets) << c.stored;
}

}  // namespace
}  // namespace korvane
