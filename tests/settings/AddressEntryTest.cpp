// SPDX-License-Identifier: MIT
#include "settings/AddressEntry.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace korvane {
namespace {

TEST(AddressEntryTest, FirstFailingCheckDecidesAndAcceptedOctetsAreWrittenWithoutLeadingZeros) {
  const AddressCheck missing{AddressFault::Missing, ""}, invalid{AddressFault::Invalid, ""};
  const struct {
    OctetTexts octets;
    AddressCheck check;
  } cases[] = {
      {{"192", "168", "001", "010"}, {AddressFault::None, "192.168.1.10"}},
      {{"10", "0", "0", "0"}, {AddressFault::None, "10.0.0.0"}},
      {{"255", "255", "255", "255"}, {AddressFault::None, "255.255.255.255"}},
      {{"0", "1", "1", "1"}, invalid}, {{"000", "1", "1", "1"}, invalid}, {{"256", "1", "1", "1"}, invalid},
      {{"1", "256", "1", "1"}, invalid}, {{"1", "1", "256", "1"}, invalid}, {{"1", "1", "1", "256"}, invalid},
      {{"1", "1", "1", "99999999999"}, invalid}, {{"1a", "1", "1", "1"}, invalid}, {{"1", " 1", "1", "1"}, invalid},
      {{"1", "1", "-1", "1"}, invalid}, {{"1", "1", "1", Utf8ToCp932("１")}, invalid},
      {{"", "1a", "1", "1"}, missing}, {{"1a", "1", "1", ""}, missing}, {{"", "", "", ""}, missing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.octets[0] + "|" + c.octets[1] + "|" + c.octets[2] + "|" + c.octets[3]);
    EXPECT_EQ(CheckOctets(c.octets), c.check);
    // What an update shows of an accepted address gives it again.
    if (c.check.fault == AddressFault::None) {
      EXPECT_EQ(CheckOctets(SplitAddress(c.check.address)), c.check);
    }
  }
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
