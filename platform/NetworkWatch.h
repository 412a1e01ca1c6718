// SPDX-License-Identifier: MIT
#pragma once
// Tells the UI thread when the host's IPv4 addresses or routes have changed: a laptop
// docked, woken in another network, or roaming. The kernel reports each change (netlink);
// nothing wakes while nothing changes.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "platform/UniqueFd.h"

class QSocketNotifier;

namespace korvane {

class NetworkWatch : public QObject {
 public:
  // A change comes as a burst of reports (an address goes, another comes, routes follow):
  // changed runs once the host has been quiet for settle.
  NetworkWatch(std::function<void()> changed, std::chrono::milliseconds settle, QObject* parent);

 private:
  void TakeReports();

  UniqueFd socket_;
  QSocketNotifier* notifier_ = nullptr;
  QTimer settle_;
};

}  // namespace korvane
