// SPDX-License-Identifier: MIT
#include "display/ChatLine.h"

#include "resources/Texts.h"

namespace korvane {

std::string FormatChatLine(const PacketView& packet, int selective) {
  std::string line(TextOf(packet.Handle()));
  line += selective == 1 ? Cp932<text::kSelectiveMarker>() : Cp932<text::kChatMarker>();
  line += packet.Text();
  return line;
}

}  // namespace korvane
