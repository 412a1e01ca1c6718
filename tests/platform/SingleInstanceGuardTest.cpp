// SPDX-License-Identifier: MIT
#include "platform/SingleInstanceGuard.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace korvane {
namespace {

// Held: refused; its holder gone: free again (the kernel frees the name however a process
// ends, a crash included).
TEST(SingleInstanceGuard, IsHeldUntilItsHolderEnds) {
  const std::string name = "KorvaneTest-" + std::to_string(::getpid());
  std::optional<SingleInstanceGuard> held(name);
  EXPECT_FALSE(held->AlreadyRunning());
  EXPECT_TRUE(SingleInstanceGuard(name).AlreadyRunning());
  held.reset();
  EXPECT_FALSE(SingleInstanceGuard(name).AlreadyRunning());
}

}  // namespace
}  // namespace korvane
