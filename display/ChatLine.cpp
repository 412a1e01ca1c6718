#include "display/ChatLine.h"

#include "platform/CodePage.h"

namespace korvane {

std::string FormatChatLine(const PacketView& packet, int selective) {
  static const std::string kSelectiveMarker = Utf8ToCp932("(特定)> ");
  std::string line(TextOf(packet.Handle()));
  line += selective == 1 ? kSelectiveMarker : std::string(" > ");
  line += packet.Text();
  return line;
}

}  // namespace korvane
