// SPDX-License-Identifier: MIT
#pragma once

namespace korvane {

// The classic C runtime's rand(), never seeded: state = state * 214013 + 2531011, result
// (state >> 16) & 0x7FFF, state 1 at the start of every thread. Peers have always seen tags
// from this sequence.
int RuntimeRand();

}  // namespace korvane
