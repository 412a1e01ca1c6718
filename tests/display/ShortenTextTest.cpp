// SPDX-License-Identifier: MIT
#include "display/ShortenText.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage.h"

namespace korvane {
namespace {

// One pixel a byte, so a double-byte character is two.
int BytesWide(const std::string& cp932) { return static_cast<int>(cp932.size()); }

TEST(FitToColumnTest, ShortensWholeCharactersToTheColumn) {
  const std::string a = Utf8ToCp932("あ"), x138(138, 'x');
  std::string a75;
  for (int i = 0; i < 75; ++i) a75 += a;
  const struct {
    std::string text;
    int width;
    FittedText expected;
  } cases[] = {
      {"", 0, {"", false}},
      {x138, 150, {x138, false}},
      {x138 + "y", 150, {x138 + "y...", true}},  // too wide whole, yet within 145 with "..."
      {x138 + "yyyyyyyy", 150, {x138 + "yyyy...", true}},
      // Stepping back a byte at a time would stop inside a character, at 142 bytes.
      {"x" + a75, 150, {"x" + a75.substr(0, 140) + "...", true}},
      {a + a + a, 6, {a + "...", true}},
  };
  for (const auto& c : cases) {
    const FittedText fitted = FitToColumn(c.text, c.width, BytesWide);
    EXPECT_EQ(std::pair(fitted.text, fitted.shortened), std::pair(c.expected.text, c.expected.shortened)) << c.text;
  }
}

}  // namespace
}  // namespace korvane
