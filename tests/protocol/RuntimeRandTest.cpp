#include "protocol/RuntimeRand.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace korvane {
namespace {

TEST(RuntimeRand, EachThreadStartsTheRuntimeSequence) {
  std::vector<int> first;
  std::thread([&] {
    for (int i = 0; i < 5; ++i) first.push_back(RuntimeRand());
  }).join();
  EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

}  // namespace
}  // namespace korvane
