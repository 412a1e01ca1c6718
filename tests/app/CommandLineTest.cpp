#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace korvane {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, TakesAnAddressAndAnswersHelpAndVersionBeforeAnythingElse) {
  const struct {
    std::vector<std::string_view> arguments;
    Action action;
    std::string address;
  } cases[] = {
      {{}, Action::Run, ""},
      {{"--address", "192.168.1.20"}, Action::Run, "192.168.1.20"},
      {{"--address=10.0.0.1"}, Action::Run, "10.0.0.1"},
      {{"--address", "host.example"}, Action::Refuse, ""},
      {{"--address"}, Action::Refuse, ""},
      {{"--adress", "10.0.0.1"}, Action::Refuse, ""},
      {{"--bogus", "--help"}, Action::Help, ""},
      {{"--address", "bad", "--version"}, Action::Version, ""},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(std::tie(line.action, line.address), std::tie(c.action, c.address)) << c.arguments.size();
    EXPECT_EQ(line.refusal.empty(), c.action != Action::Refuse) << c.arguments.size();
  }
}

}  // namespace
}  // namespace korvane
