// SPDX-License-Identifier: MIT
#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <memory>

namespace korvane {
namespace {

// One lock for every waiting caller: suspension must wake them all.
std::mutex g_mutex;
std::condition_variable g_changed;
int g_suspensions = 0;

}  // namespace

bool OnUiThread() {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

bool RunOnUiThreadAndWait(const std::function<void()>& work) {
  if (OnUiThread()) {
    work();
    return true;
  }
  auto done = std::make_shared<bool>(false);
  auto ran = std::make_shared<bool>(false);
  {
    std::lock_guard lock(g_mutex);
    if (g_suspensions > 0) return false;
  }
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [work, done, ran] {
        {
          std::lock_guard lock(g_mutex);
          if (g_suspensions > 0 || *done) return;  // the caller has stopped waiting
        }
        work();
        std::lock_guard lock(g_mutex);
        *ran = true;
        *done = true;
        g_changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(g_mutex);
  g_changed.wait(lock, [&] { return *done || g_suspensions > 0; });
  *done = true;
  return *ran;
}

UiCallsSuspended::UiCallsSuspended() {
  std::lock_guard lock(g_mutex);
  ++g_suspensions;
  g_changed.notify_all();
}

UiCallsSuspended::~UiCallsSuspended() {
  std::lock_guard lock(g_mutex);
  --g_suspensions;
}

void OrderedUiQueue::Post(std::function<void()> change) {
  bool schedule = false;
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(change));
    if (!OnUiThread() && !drainScheduled_) schedule = drainScheduled_ = true;
  }
  if (OnUiThread())
    Drain();
  else if (schedule)
    QMetaObject::invokeMethod(this, [this] { Drain(); }, Qt::QueuedConnection);
}

void OrderedUiQueue::Drain() {
  for (;;) {
    std::function<void()> change;
    {
      std::lock_guard lock(mutex_);
      if (waiting_.empty()) {
        drainScheduled_ = false;
        return;
      }
      change = std::move(waiting_.front());
      waiting_.pop_front();
    }
    change();
  }
}

}  // namespace korvane
