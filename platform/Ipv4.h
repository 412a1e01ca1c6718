// SPDX-License-Identifier: MIT
#pragma once
// Small conversions between dotted-decimal text and socket addresses.

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

// nullopt when the text is not a dotted-decimal IPv4 address.
std::optional<sockaddr_in> MakeSocketAddress(const std::string& dotted, std::uint16_t port);

// "%d.%d.%d.%d", most significant byte first.
std::string FormatIpv4(in_addr address);

// An address of 127.0.0.0/8, given as dotted decimal.
bool IsLoopback(const std::string& dotted);

}  // namespace korvane
