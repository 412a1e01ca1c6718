// SPDX-License-Identifier: MIT
#pragma once
// What showing a line needs of the message display, so that line layout runs without Qt.

#include <string>

namespace korvane {

// Texts are code page 932; widths are pixels in the dialog font.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void AppendLine(const std::string& cp932) = 0;
  virtual int LineCount() const = 0;
  // Scrolls only: the display has no selection.
  virtual void ShowLastLine() = 0;
  virtual void SetHorizontalExtent(int pixels) = 0;
  virtual int MeasureText(const std::string& cp932) const = 0;
};

}  // namespace korvane
