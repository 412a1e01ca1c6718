// SPDX-License-Identifier: MIT
#pragma once
// The line shown for one chat message: the sender's handle, a marker, the text.

#include <string>

#include "protocol/Packet.h"

namespace korvane {

// " > " for broadcast and own messages, "(特定)> " for a selective message received
// (selective == 1). Code page 932.
std::string FormatChatLine(const PacketView& packet, int selective);

}  // namespace korvane
