// SPDX-License-Identifier: MIT
// How the display shapes text: lines presented as their kind and options say, handles fitted
// to their column.

#include "display/LinePresenter.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "display/ShortenText.h"
#include "platform/CodePage.h"

namespace korvane {
namespace {

using Lines = std::vector<std::string>;

constexpr DisplayOptions kEverything{.systemMessages = true, .autoWrap = true};
constexpr DisplayOptions kQuiet{.systemMessages = false, .autoWrap = false};

// The test is the display: every byte is 10 pixels wide, so a double-byte character is 20.
class LinePresenterTest : public testing::Test, public MessageDisplay {
 protected:
  void AppendLine(const std::string& cp932) override { lines.push_back(cp932); }
  int LineCount() const override { return static_cast<int>(lines.size()); }
  void ShowLastLine() override { ++scrolls; }
  void SetHorizontalExtent(int pixels) override { extents.push_back(pixels); }
  int MeasureText(const std::string& cp932) const override { return 10 * static_cast<int>(cp932.size()); }

  Lines lines;
  int scrolls = 0;
  std::vector<int> extents;
  LinePresenter presenter{*this};
};

// Hidden notices leave the view alone; traces and unknown kinds are not shown, yet bring the
// end back once there are lines.
TEST_F(LinePresenterTest, ShowsEachKindAsItsOptionsSay) {
  const std::tuple<const char*, LineKind, DisplayOptions, int> steps[] = {  // text, kind, options, scrolls after
      {"*** hidden ***", LineKind::Notice, kQuiet, 0}, {"trace on an empty display", LineKind::Trace, kEverything, 0},
      {"prompt", LineKind::Prompt, kQuiet, 1},         {"notice", LineKind::Notice, kEverything, 2},
      {"chat", LineKind::Chat, kQuiet, 3},             {"*** hidden ***", LineKind::Notice, kQuiet, 3},
      {"------------", LineKind::Trace, kEverything, 4}, {"kind 7", static_cast<LineKind>(7), kEverything, 5}};
  for (const auto& [text, kind, options, scrolled] : steps) {
    presenter.Present(text, kind, options);
    EXPECT_EQ(scrolls, scrolled) << text;
  }
  EXPECT_EQ(lines, (Lines{"prompt", "notice", "chat"}));
}

TEST_F(LinePresenterTest, ExtentFollowsTheWidestUnwrappedLineUntilCleared) {
  presenter.SetListWidth(50);
  presenter.Present("abcdefgh", LineKind::Chat, kQuiet);        // 80
  presenter.Present("abc", LineKind::Prompt, kEverything);       // narrower: untouched
  presenter.Present("12345678", LineKind::Notice, kEverything);  // as wide: set again
  // Prompts and notices are never broken, whatever their width.
  presenter.Present("x> 1234567890", LineKind::Prompt, kEverything);
  presenter.Clear();
  presenter.Present("ab", LineKind::Prompt, kEverything);
  EXPECT_EQ(extents, (std::vector<int>{81, 81, 131, 0, 21}));
}

// Each byte is 10 pixels: a segment closes where it first reaches the width less 25, and
// continues after the prefix and a space.
TEST_F(LinePresenterTest, BreaksWideChatLinesAtWholeCharacters) {
  const std::string a = "\x82\xA0";  // 20 pixels
  const std::tuple<std::string, int, Lines> cases[] = {  // text, width, shown
      {"[M1]0123456789", 50, {"[M1]0123456789"}},  // a fixed-phrase line has no '>'
      {"[M2]xyz>", 50, {"[M2]xyz>"}},              // nothing after the first '>': still shown
      {"ab > 56789012345", 160, {"ab > 56789012345"}},
      {"ab > 56789012345", 159, {"ab > 567890123", "ab > 45"}},
      {"ab > 0123456789", 105, {"ab > 012", "ab > 345", "ab > 678", "ab > 9"}},  // reached exactly
      {"ab > 0123456789", 106, {"ab > 0123", "ab > 4567", "ab > 89"}},
      {"ab > 012345678", 105, {"ab > 012", "ab > 345", "ab > 678"}},  // no remainder of prefix alone
      {"abcd> xy", 60, {"abcd> ", "abcd> x", "abcd> y"}},              // prefix wider than the limit
      {"a> " + a + a, 65, {"a> " + a, "a> " + a}},                     // limit inside a character
      {"a> " + a + a + "x\x82", 75, {"a> " + a, "a> " + a, "a> x\x82"}},  // a cut lead byte alone
  };
  for (const auto& [text, width, shown] : cases) {
    lines.clear();
    presenter.SetListWidth(width);
    presenter.Present(text, LineKind::Chat, kEverything);
    EXPECT_EQ(lines, shown) << text << " at " << width;
  }
  // Only the line with nothing to break at widens the extent.
  EXPECT_EQ(extents, (std::vector<int>{141}));
}

// One pixel a byte, so a double-byte character is two.
int BytesWide(const std::string& cp932) { return static_cast<int>(cp932.size()); }

TEST(FitToColumnTest, ShortensWholeCharactersToTheColumn) {
  const std::string a = Utf8ToCp932("あ"), wave = Utf8ToCp932("～"), x138(138, 'x');
  std::string a75;
  for (int i = 0; i < 75; ++i) a75 += a;
  const std::tuple<std::string, int, std::string, bool> cases[] = {  // text, width, shown, shortened
      {"", 0, "", false},
      {x138, 150, x138, false},
      {x138 + "y", 150, x138 + "y...", true},  // too wide whole, yet within 145 with "..."
      {x138 + "yyyyyyyy", 150, x138 + "yyyy...", true},
      // Stepping back a byte at a time would stop inside a character, at 142 bytes.
      {"x" + a75, 150, "x" + a75.substr(0, 140) + "...", true},
      {wave + wave + wave, 6, wave + "...", true},  // 81 60: the lowest lead byte
  };
  for (const auto& [text, width, shown, shortened] : cases) {
    const FittedText fitted = FitToColumn(text, width, BytesWide);
    EXPECT_EQ(std::pair(fitted.text, fitted.shortened), std::pair(shown, shortened)) << text;
  }
}

}  // namespace
}  // namespace korvane
