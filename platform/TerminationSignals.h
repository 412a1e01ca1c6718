// SPDX-License-Identifier: MIT
#pragma once

#include <signal.h>

#include <functional>

class QSocketNotifier;

namespace korvane {

// While it lives, SIGTERM and SIGINT (a session logging out, kill, Ctrl+C) run onSignal on
// the UI thread, so the program can close as if the user had closed it.
class TerminationSignalHandler {
 public:
  explicit TerminationSignalHandler(std::function<void()> onSignal);
  ~TerminationSignalHandler();
  TerminationSignalHandler(const TerminationSignalHandler&) = delete;
  TerminationSignalHandler& operator=(const TerminationSignalHandler&) = delete;

 private:
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction previousTerm_ {};
  struct sigaction previousInt_ {};
};

}  // namespace korvane
