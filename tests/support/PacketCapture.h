// SPDX-License-Identifier: MIT
#pragma once
// Captures every datagram sent to one port of any loopback address, with the address each
// was sent to, in arrival order: a wire tap for the sending side.

#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DatagramSocket.h"
#include "platform/Ipv4.h"
#include "platform/UniqueFd.h"
#include "tests/support/Wait.h"

namespace korvane::test {

class PacketCapture {
 public:
  struct Datagram {
    std::string destination;
    std::vector<std::uint8_t> bytes;
  };

  PacketCapture() {
    const int on = 1;
    ::setsockopt(socket_.Get(), IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  }
  std::uint16_t Port() const { return BoundPort(socket_); }

  // What arrives within wait (stops early once count have come).
  std::vector<Datagram> Take(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds(1)) {
    std::vector<Datagram> taken;
    WaitUntil([&] {
      std::vector<std::uint8_t> buffer(65536);
      iovec io{buffer.data(), buffer.size()};
      alignas(cmsghdr) char control[256];
      msghdr message{nullptr, 0, &io, 1, control, 0, 0};
      while (taken.size() < count) {
        message.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(socket_.Get(), &message, MSG_DONTWAIT);
        if (size < 0) break;
        const auto* info = reinterpret_cast<const in_pktinfo*>(CMSG_DATA(CMSG_FIRSTHDR(&message)));
        taken.push_back({FormatIpv4(info->ipi_addr), {buffer.begin(), buffer.begin() + size}});
      }
      return taken.size() >= count;
    }, wait);
    return taken;
  }

 private:
  UniqueFd socket_ = BindDatagramSocket("0.0.0.0", 0);
};

}  // namespace korvane::test
