// SPDX-License-Identifier: MIT
#pragma once
// The program's command line: --address, --help and --version, as Linux programs take them.

#include <span>
#include <string>
#include <string_view>

namespace korvane {

struct CommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  std::string address;  // --address: dotted decimal; "" when not given
  std::string refusal;  // Refuse: what to tell the terminal
};

// arguments without the program's name. --help or --version anywhere wins; otherwise the
// first argument that is not understood refuses the whole line.
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

}  // namespace korvane
