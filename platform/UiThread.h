// SPDX-License-Identifier: MIT
#pragma once
// Handing work from the receive thread to the UI thread, which alone touches widgets.

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

namespace korvane {

bool OnUiThread();

// Runs work on the UI thread and waits until it has run. Returns false, without running it,
// while calls are suspended: the UI thread is then waiting for the caller's thread to end,
// and waiting for the UI thread in turn would dead-lock.
bool RunOnUiThreadAndWait(const std::function<void()>& work);

// Suspends those calls for its lifetime and releases every caller waiting in one.
class UiCallsSuspended {
 public:
  UiCallsSuspended();
  ~UiCallsSuspended();
  UiCallsSuspended(const UiCallsSuspended&) = delete;
  UiCallsSuspended& operator=(const UiCallsSuspended&) = delete;
};

// Changes to run on the UI thread in the order they were posted, from any thread. Posted on
// the UI thread, a change runs at once, after every change still waiting.
class OrderedUiQueue : public QObject {
 public:
  void Post(std::function<void()> change);
  // Runs what waits; the UI thread's event loop calls it.
  void Drain();

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> waiting_;
  bool drainScheduled_ = false;
};

}  // namespace korvane
