// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <algorithm>
#include <optional>

#include "platform/Ipv4.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

constexpr std::string_view kAddressOption = "--address";

bool IsIpv4(std::string_view text) { return MakeSocketAddress(std::string(text), 0).has_value(); }

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  const auto given = [&](std::string_view option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  if (given("--help") || given("-h")) return {CommandLine::Action::Help, {}, {}};
  if (given("--version")) return {CommandLine::Action::Version, {}, {}};

  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    std::optional<std::string_view> address;
    if (argument == kAddressOption && i + 1 < arguments.size()) address = arguments[++i];
    else if (argument.starts_with(kAddressOption) && argument.substr(kAddressOption.size()).starts_with('='))
      address = argument.substr(kAddressOption.size() + 1);
    if (address && IsIpv4(*address)) {
      line.address = *address;
      continue;
    }
    const bool addressWrong = address.has_value() || argument == kAddressOption;
    return {CommandLine::Action::Refuse, {},
            addressWrong ? FillFormat(text::kBadAddressOption, {address.value_or("")})
                         : FillFormat(text::kUnknownOption, {argument})};
  }
  return line;
}

}  // namespace korvane
