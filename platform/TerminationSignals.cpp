// SPDX-License-Identifier: MIT
#include "platform/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace korvane {
namespace {

int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void NoteSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  (void)!::write(g_signalPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignalHandler::TerminationSignalHandler(std::function<void()> onSignal) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0)
    return;
  notifier_ = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [onSignal] {
    char bytes[16];
    while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    onSignal();
  });
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &previousTerm_);
  ::sigaction(SIGINT, &action, &previousInt_);
}

TerminationSignalHandler::~TerminationSignalHandler() {
  if (notifier_ == nullptr) return;
  ::sigaction(SIGTERM, &previousTerm_, nullptr);
  ::sigaction(SIGINT, &previousInt_, nullptr);
  delete notifier_;
  for (int& end : g_signalPipe) {
    ::close(end);
    end = -1;
  }
}

}  // namespace korvane
