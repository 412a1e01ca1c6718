// SPDX-License-Identifier: MIT
#include "platform/SingleInstanceGuard.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace korvane {

SingleInstanceGuard::SingleInstanceGuard(const std::string& name)
    : socket_(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  if (!socket_.Valid()) return;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // Abstract name: a leading zero byte, then the name without a terminator.
  const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
  // Like the named mutex it stands for, only "already exists" refuses the start; any other
  // failure lets the program run.
  if (::bind(socket_.Get(), reinterpret_cast<const sockaddr*>(&address), size) != 0)
    alreadyRunning_ = (errno == EADDRINUSE);
}

}  // namespace korvane
