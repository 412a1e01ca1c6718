// SPDX-License-Identifier: MIT
#include "resources/Texts.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(FillFormat, InsertsValuesAsTheyStand) {
  const struct {
    std::string_view format;
    std::initializer_list<std::string_view> values;
    std::string filled;
  } cases[] = {
      {"*** <<%s>> ***", {"%s%d%n"}, "*** <<%s%d%n>> ***"},  // data is never a directive
      {"Received CMD_BYE %.16s", {"10.0.0.1ABCDEFGHIJ"}, "Received CMD_BYE 10.0.0.1ABCDEFGH"},
      {"connection is <%d>", {"42"}, "connection is <42>"},
      {"%s, %s and %s", {"a", "b"}, "a, b and "},  // a missing value is empty
      {"100%% %x %", {"unused"}, "100% %x %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillFormat(c.format, c.values), c.filled) << c.format;
}

}  // namespace
}  // namespace korvane
