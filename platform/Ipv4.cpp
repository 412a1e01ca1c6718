// SPDX-License-Identifier: MIT
#include "platform/Ipv4.h"

#include <arpa/inet.h>

#include <cstdio>

namespace korvane {

std::optional<sockaddr_in> MakeSocketAddress(const std::string& dotted, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, dotted.c_str(), &address.sin_addr) != 1) return std::nullopt;
  return address;
}

std::string FormatIpv4(in_addr address) {
  const std::uint32_t host = ntohl(address.s_addr);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (host >> 24) & 0xFFu, (host >> 16) & 0xFFu,
                (host >> 8) & 0xFFu, host & 0xFFu);
  return text;
}

bool IsLoopback(const std::string& dotted) { return dotted.rfind("127.", 0) == 0; }

}  // namespace korvane
