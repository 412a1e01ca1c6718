// SPDX-License-Identifier: MIT
#include "display/ShortenText.h"

#include <cstddef>
#include <vector>

#include "platform/CodePage.h"

namespace korvane {
namespace {

// A text drawn whole keeps 6 pixels clear on either side of its column.
constexpr int kWholeMargins = 12;
// A shortened text may reach closer to the right edge.
constexpr int kShortenedMargins = 5;

// Where each character ends; a lead byte with nothing after it stands alone.
std::vector<std::size_t> CharacterEnds(const std::string& cp932) {
  std::vector<std::size_t> ends;
  for (std::size_t at = 0; at < cp932.size();) {
    at += IsLeadByte(static_cast<unsigned char>(cp932[at])) && at + 1 < cp932.size() ? 2 : 1;
    ends.push_back(at);
  }
  return ends;
}

}  // namespace

FittedText FitToColumn(const std::string& cp932, int columnWidth, const MeasureText& measure) {
  if (cp932.empty() || measure(cp932) <= columnWidth - kWholeMargins) return {cp932, false};
  const std::vector<std::size_t> ends = CharacterEnds(cp932);
  std::size_t kept = ends.size();
  std::string shortened = cp932 + "...";
  // The first character always stays, however narrow the column.
  while (kept > 1 && measure(shortened) > columnWidth - kShortenedMargins) {
    --kept;
    shortened = cp932.substr(0, ends[kept - 1]) + "...";
  }
  return {shortened, true};
}

}  // namespace korvane
