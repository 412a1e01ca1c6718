// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <limits>
#include <tuple>

#include "platform/Cp932Prefix.h"
#include "chatlog/LogReadBack.h"
#include "chatlog/LogSizeCap.h"
#include "chatlog/LogStamp.h"
#include "platform/CodePage.h"

namespace korvane {
namespace {

TEST(LogStamp, HasTheClassicFormInLocalTimeWithTheDayRightAligned) {
  const char* previous = ::getenv("TZ");
  const std::string saved = previous ? previous : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  EXPECT_EQ(FormatLogStamp(981645553), "[Thu Feb  8 15:19:13 2001] ");
  // Years the classic form cannot hold keep the width.
  EXPECT_EQ(FormatLogStamp(253402300800), "[??? ??? ?? ??:??:?? ????] ");  // year 10000
  EXPECT_EQ(FormatLogStamp(std::numeric_limits<std::time_t>::max()).size(), kLogStampSize);
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  EXPECT_EQ(FormatLogStamp(981645553), "[Fri Feb  9 00:19:13 2001] ");
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
      {"empty", "", 0, ""},
  };
  for (const auto& [log, file, position, read] : cases) EXPECT_EQ(LogInTimeOrder(file, position), read) << log;
}

}  // namespace
}  // namespace korvane
