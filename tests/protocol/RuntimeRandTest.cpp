#include "protocol/RuntimeRand.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace korvane {
namespace {

TEST(RuntimeRand, FreshThreadStartsTheRuntimeSequence) {
  // Each thread has its own state starting at 1, so the order of tests does not matter.
  std::vector<int> first;
  std::thread([&] {
    for (int i = 0; i < 5; ++i) first.push_back(RuntimeRand());
  }).join();
  EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(RuntimeRand, StaysWithinFifteenBits) {
  std::thread([] {
    for (int i = 0; i < 100000; ++i) {
      const int value = RuntimeRand();
      ASSERT_GE(value, 0);
      ASSERT_LE(value, 0x7FFF);
    }
  }).join();
}

}  // namespace
}  // namespace korvane
