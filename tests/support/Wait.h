// SPDX-License-Identifier: MIT
#pragma once
// The one bounded wait of the tests.

#include <chrono>
#include <functional>
#include <thread>

namespace korvane::test {

// Checks condition every 2 ms, running pump (if any) between checks; false when it did not
// come true within limit.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(5),
                      const std::function<void()>& pump = nullptr) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace korvane::test
