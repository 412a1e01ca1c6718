// SPDX-License-Identifier: MIT
#include "display/LinePresenter.h"

#include "platform/CodePage.h"

namespace korvane {
namespace {

// A segment is closed this many pixels short of the display's width.
constexpr int kWrapMargin = 25;

// Bytes of the character at index: a double-byte character whole, and a lead byte that the
// end of the text has cut off alone.
std::size_t CharacterLength(const std::string& text, std::size_t index) {
  const bool lead = IsLeadByte(static_cast<unsigned char>(text[index]));
  return lead && index + 1 < text.size() ? 2 : 1;
}

}  // namespace

void LinePresenter::Present(const std::string& text, LineKind kind, DisplayOptions options) {
  if (kind == LineKind::Notice && !options.systemMessages) return;
  if (kind == LineKind::Chat || kind == LineKind::Prompt || kind == LineKind::Notice) {
    if (kind == LineKind::Chat && options.autoWrap)
      WrapLine(text);
    else
      AppendUnwrapped(text);
  }
  // Every kind, Trace included, brings the end back into view.
  if (display_.LineCount() > 0) display_.ShowLastLine();
}

void LinePresenter::Clear() {
  m_nMaxLineWidth = 0;
  display_.SetHorizontalExtent(0);
}

void LinePresenter::AppendUnwrapped(const std::string& text) {
  display_.AppendLine(text);
  const int width = display_.MeasureText(text);
  if (m_nMaxLineWidth <= width) {
    m_nMaxLineWidth = width;
    display_.SetHorizontalExtent(width + 1);
  }
}

void LinePresenter::WrapLine(const std::string& text) {
  if (display_.MeasureText(text) <= m_nListWidth) {
    display_.AppendLine(text);
    return;
  }
  // '>' is never the second byte of a double-byte character, so a byte search is safe.
  const std::size_t marker = text.find('>');
  // A text that ends at its first '>' has nothing to break off and would otherwise vanish.
  if (marker == std::string::npos || marker + 1 == text.size()) {
    AppendUnwrapped(text);
    return;
  }
  const std::string prefix = text.substr(0, marker + 1);
  const std::string continuation = prefix + ' ';
  std::string current = prefix;
  for (std::size_t index = marker + 1; index < text.size();) {
    const std::size_t length = CharacterLength(text, index);
    current.append(text, index, length);
    index += length;
    if (display_.MeasureText(current) >= m_nListWidth - kWrapMargin) {
      display_.AppendLine(current);
      current = continuation;
    }
  }
  if (current.size() > continuation.size()) display_.AppendLine(current);
}

}  // namespace korvane
