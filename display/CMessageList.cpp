// SPDX-License-Identifier: MIT
#include "display/CMessageList.h"

#include <QColor>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/DialogFont.h"

namespace korvane {
namespace {

// Text starts one pixel in, so an extent of width + 1 shows a line whole.
constexpr int kTextIndent = 1;

}  // namespace

CMessageList::CMessageList(QWidget* parent)
    : QAbstractScrollArea(parent), colourSource_([] { return ColourPair{0x000000, 0xFFFFFF}; }) {
  setFont(DialogFont());
  // As a list box's: each bar only while there is something to scroll.
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setSingleStep(QFontMetrics(font()).averageCharWidth());
  UpdateScrollRanges();
}

void CMessageList::AppendLine(const std::string& cp932) {
  lines_.push_back(ToQString(cp932));
  UpdateScrollRanges();
  viewport()->update();
}

int CMessageList::LineCount() const { return static_cast<int>(lines_.size()); }

void CMessageList::ShowLastLine() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

void CMessageList::SetHorizontalExtent(int pixels) {
  extent_ = pixels;
  UpdateScrollRanges();
}

int CMessageList::MeasureText(const std::string& cp932) const {
  return QFontMetrics(font()).horizontalAdvance(ToQString(cp932));
}

void CMessageList::SetColourSource(std::function<ColourPair()> source) {
  colourSource_ = std::move(source);
  viewport()->update();
}

void CMessageList::ResetContent() {
  lines_.clear();
  UpdateScrollRanges();
  viewport()->update();
}

QString CMessageList::LineText(int row) const {
  return row >= 0 && row < LineCount() ? lines_[row] : QString();
}

// Without scroll bars, as the list is when the window measures it: it follows from the
// control's own size, even before the first layout has placed the viewport.
int CMessageList::ClientWidth() const { return contentsRect().width(); }

int CMessageList::RowHeight() const { return QFontMetrics(font()).height(); }

void CMessageList::UpdateScrollRanges() {
  // Each bar narrows the room the other measures against: a second pass settles both.
  const int rowHeight = RowHeight();
  int width = ClientWidth(), height = contentsRect().height();
  for (int pass = 0; pass < 2; ++pass) {
    const bool vertical = LineCount() > height / rowHeight, horizontal = extent_ > width;
    width = ClientWidth() - (vertical ? verticalScrollBar()->sizeHint().width() : 0);
    height = contentsRect().height() - (horizontal ? horizontalScrollBar()->sizeHint().height() : 0);
  }
  // Scrolled by whole lines; the last line is in view when it is fully visible.
  const int fullRows = std::max(1, height / rowHeight);
  verticalScrollBar()->setPageStep(fullRows);
  verticalScrollBar()->setRange(0, std::max(0, LineCount() - fullRows));
  horizontalScrollBar()->setPageStep(std::max(0, width));
  horizontalScrollBar()->setRange(0, std::max(0, extent_ - width));
}

void CMessageList::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void CMessageList::paintEvent(QPaintEvent* event) {
  const auto [text, background] = colourSource_();
  QPainter painter(viewport());
  painter.fillRect(event->rect(), FromColorRef(background));
  // Greyed while disabled (logged out), as a disabled list box shows its lines.
  painter.setPen(isEnabled() ? FromColorRef(text) : palette().color(QPalette::Disabled, QPalette::Text));
  painter.setFont(font());

  const QFontMetrics metrics(font());
  const int rowHeight = metrics.height();
  const int top = verticalScrollBar()->value();
  const int first = top + event->rect().top() / rowHeight;
  const int last = std::min(LineCount() - 1, top + event->rect().bottom() / rowHeight);
  const int x = kTextIndent - horizontalScrollBar()->value();
  for (int row = first; row <= last; ++row)
    painter.drawText(x, (row - top) * rowHeight + metrics.ascent(), lines_[row]);
}

}  // namespace korvane
