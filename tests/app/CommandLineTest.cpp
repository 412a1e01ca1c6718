#include "app/CommandLine.h"

#include <gtest/gtest.h>

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
      {{"--address", "192.168.001.020"}, Action::Refuse, ""},  // peers compare the text whole
      {{"--address"}, Action::Refuse, ""},
      {{"--address="}, Action::Refuse, ""},
      {{"--adress", "10.0.0.1"}, Action::Refuse, ""},
      {{"--address", "10.0.0.1", "extra"}, Action::Refuse, ""},
      {{"--bogus", "--help"}, Action::Help, ""},
      {{"--address", "bad", "--version"}, Action::Version, ""},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    const std::string shown = c.arguments.empty() ? "" : std::string(c.arguments[0]);
    EXPECT_EQ(line.action, c.action) << shown;
    EXPECT_EQ(line.address, c.address) << shown;
    EXPECT_EQ(line.refusal.empty(), c.action != Action::Refuse) << shown;
  }
  EXPECT_EQ(ParseCommandLine(std::vector<std::string_view>{"--address", "x"}).refusal,
            "korvane: --address wants an IPv4 address such as 192.168.1.20, not 'x'\n");
}

}  // namespace
}  // namespace korvane
