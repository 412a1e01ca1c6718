// SPDX-License-Identifier: MIT
#include "window/TypedCommands.h"

namespace korvane {

std::optional<char> FixedPhraseShortcut(std::string_view line) {
  if (line.size() != 2 || (line[0] != 'm' && line[0] != 'M')) return std::nullopt;
  return line[1];
}

bool IsClearCommand(std::string_view line) {
  return line.substr(0, 5) == "clear" || line.substr(0, 5) == "CLEAR";
}

bool IsByeCommand(std::string_view line) { return line == "bye" || line == "BYE"; }

}  // namespace korvane
