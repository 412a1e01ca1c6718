// SPDX-License-Identifier: MIT
#include "chatlog/LogStamp.h"

#include <cstdio>

namespace korvane {

std::string FormatLogStamp(std::time_t when) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  // A time the calendar cannot hold, or a year that would not fit four places, keeps the
  // stamp's width so that every line still has its fixed layout.
  if (!::localtime_r(&when, &local) || local.tm_year < -1900 || local.tm_year > 9999 - 1900)
    return "[??? ??? ?? ??:??:?? ????] ";
  char stamp[64] = {};  // room for any int the compiler cannot rule out
  std::snprintf(stamp, sizeof stamp, "[%s %s %2d %02d:%02d:%02d %04d] ", kDays[local.tm_wday],
                kMonths[local.tm_mon], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                local.tm_year + 1900);
  return std::string(stamp, kLogStampSize);
}

}  // namespace korvane
