// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace korvane {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, TakesAnAddressAndAnswersHelpAndVersionBeforeAnythingElse) {
  const std::tuple<std::vector<std::string_view>, Action, std::string> cases[] = {
      {{}, Action::Run, ""},
      {{"--address", "192.168.1.20"}, Action::Run, "192.168.1.20"},
      {{"--address=10.0.0.1"}, Action::Run, "10.0.0.1"},
      {{"--address"}, Action::Refuse, ""},
      {{"--address", "host.example"}, Action::Refuse, ""},
      {{"--adress", "10.0.0.1"}, Action::Refuse, ""},
      {{"--bogus", "--help"}, Action::Help, ""},
      {{"--address", "bad", "--version"}, Action::Version, ""},
  };
  for (const auto& [arguments, action, address] : cases) {
    const CommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(std::tie(line.action, line.address), std::tie(action, address)) << arguments.size();
    EXPECT_EQ(line.refusal.empty(), action != Action::Refuse) << arguments.size();
  }
}

}  // namespace
}  // namespace korvane
