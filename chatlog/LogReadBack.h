// SPDX-License-Identifier: MIT
#pragma once
// The chat log as a person reads it: its lines oldest first.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// The lines of a log file in the order they were written. writePosition is where the next
// line of a capped log goes: short of the end, the file has wrapped, and its oldest lines
// follow that position. Of the line the newest one overwrote in part, the rest is dropped.
std::string LogInTimeOrder(std::string_view file, std::int64_t writePosition);

}  // namespace korvane
