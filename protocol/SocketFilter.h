// SPDX-License-Identifier: MIT
#pragma once
// A program for the kernel's classic packet filter on the broadcast slot's socket.

#include <linux/filter.h>

#include <vector>

#include "protocol/FixedText.h"

namespace korvane {

// Drops every health answer (RSP_HLTHY) neither from nor to own, as the dispatcher compares
// addresses: equal text up to the terminating zero. Such an answer changes nothing but the
// trace lines; in an office of n copies they are n² of a period's packets, and dropped in the
// kernel they cost this copy nothing. A packet too short to hold both addresses passes.
std::vector<sock_filter> DropOthersHealthReplies(const AddressText& own);

}  // namespace korvane
