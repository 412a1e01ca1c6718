// SPDX-License-Identifier: MIT
// The window's thread doing work for another thread, as it does the receive thread's boxes
// and logout.

#include "platform/UiThread.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>
#include <thread>

#include "tests/support/Wait.h"

namespace korvane {
namespace {

TEST(UiThread, WorkFromAnotherThreadRunsOnTheUiThreadWhileTheCallerWaits) {
  std::atomic<bool> ranOnUi{false};
  std::thread caller([&] { RunOnUiThreadAndWait([&] { ranOnUi = OnUiThread(); }); });
  EXPECT_TRUE(test::WaitUntil([&] { return ranOnUi.load(); }, std::chrono::seconds(5),
                              [] { QApplication::processEvents(); }));
  const UiCallsSuspended released;  // a caller still waiting lets go
  caller.join();
}

}  // namespace
}  // namespace korvane
