// SPDX-License-Identifier: MIT
#pragma once
// The display half of showing a line: whether a line is shown, how a long chat line is
// broken, the horizontal scroll extent, and scrolling to the end. The log write is the
// caller's. Not locked: the window calls it on its own thread only.

#include <string>

#include "display/MessageDisplay.h"
#include "protocol/LineSink.h"

namespace korvane {

struct DisplayOptions {
  bool systemMessages;  // m_bSystemMessages: show Notice lines
  bool autoWrap;        // m_bAutoWrap: break long Chat lines
};

class LinePresenter {
 public:
  explicit LinePresenter(MessageDisplay& display) : display_(display) {}

  // The display's client width, the width chat lines are broken to.
  void SetListWidth(int pixels) { m_nListWidth = pixels; }

  void Present(const std::string& text, LineKind kind, DisplayOptions options);

  // After the display has been emptied: no line is wide any more.
  void Clear();

  int MaxLineWidth() const { return m_nMaxLineWidth; }

 private:
  // One line, widening the horizontal extent when it is the widest so far.
  void AppendUnwrapped(const std::string& text);
  void WrapLine(const std::string& text);

  MessageDisplay& display_;
  int m_nListWidth = 0;
  int m_nMaxLineWidth = 0;
};

}  // namespace korvane
