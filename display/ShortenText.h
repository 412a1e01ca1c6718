// SPDX-License-Identifier: MIT
#pragma once
// How a text of the member list fits its column: one too wide is cut after a whole
// character and ends in "...". Widths come from the caller's measure, so this runs
// without Qt.

#include <functional>
#include <string>

namespace korvane {

// Pixel width of a code page 932 text in the font it is drawn in.
using MeasureText = std::function<int(const std::string& cp932)>;

struct FittedText {
  std::string text;
  // A shortened text is drawn left-aligned and may use the column's right margin.
  bool shortened = false;
};

FittedText FitToColumn(const std::string& cp932, int columnWidth, const MeasureText& measure);

}  // namespace korvane
