// SPDX-License-Identifier: MIT
#include "protocol/RuntimeRand.h"

#include <cstdint>

namespace korvane {

int RuntimeRand() {
  thread_local std::uint32_t state = 1;
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

}  // namespace korvane
