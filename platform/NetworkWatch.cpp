// SPDX-License-Identifier: MIT
#include "platform/NetworkWatch.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace korvane {

NetworkWatch::NetworkWatch(std::function<void()> changed, std::chrono::milliseconds settle,
                           QObject* parent)
    : QObject(parent),
      socket_(::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE)) {
  settle_.setSingleShot(true);
  settle_.setInterval(settle);
  connect(&settle_, &QTimer::timeout, this, std::move(changed));
  sockaddr_nl groups{};
  groups.nl_family = AF_NETLINK;
  // Links too: the kernel drops a downed link's routes without a report of its own.
  groups.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE;
  // Without the reports the address stays as chosen at the start, as it always was.
  if (!socket_.Valid() ||
      ::bind(socket_.Get(), reinterpret_cast<const sockaddr*>(&groups), sizeof groups) != 0)
    return;
  notifier_ = new QSocketNotifier(socket_.Get(), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &NetworkWatch::TakeReports);
}

void NetworkWatch::TakeReports() {
  // What changed is read afresh when the host is quiet; a report lost to a full socket
  // (ENOBUFS) is a change too.
  std::array<char, 8192> report;
  for (;;) {
    const ssize_t size = ::recv(socket_.Get(), report.data(), report.size(), 0);
    if (size == 0 || (size < 0 && errno != ENOBUFS && errno != EINTR)) break;
  }
  settle_.start();
}

}  // namespace korvane
