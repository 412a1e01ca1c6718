#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <limits>

#include "platform/Cp932Prefix.h"
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

}  // namespace
}  // namespace korvane
