// SPDX-License-Identifier: MIT
#include "chatlog/LogReadBack.h"

#include "chatlog/LogStamp.h"

namespace korvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A line begins with its stamp: "[" 24 characters "] ".
bool StartsLine(std::string_view text) {
  return text.size() >= kLogStampSize && text[0] == '[' && text[kLogStampSize - 2] == ']' &&
         text[kLogStampSize - 1] == ' ';
}

}  // namespace

std::string LogInTimeOrder(std::string_view file, std::int64_t writePosition) {
  if (writePosition < 0 || static_cast<std::uint64_t>(writePosition) >= file.size())
    return std::string(file);
  const std::string_view newest = file.substr(0, static_cast<std::size_t>(writePosition));
  std::string_view oldest = file.substr(newest.size());
  if (!StartsLine(oldest)) {
    const std::size_t end = oldest.find(kLineEnd);
    oldest = end == std::string_view::npos ? std::string_view() : oldest.substr(end + kLineEnd.size());
  }
  return std::string(oldest).append(newest);
}

}  // namespace korvane
