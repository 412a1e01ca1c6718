// SPDX-License-Identifier: MIT
#include "app/FocusableLink.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace korvane {

FocusableLink::FocusableLink(const QString& text, std::function<void()> follow, QWidget* parent)
    : QWidget(parent), m_follow(std::move(follow)) {
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAccessibleName(text);
}

void FocusableLink::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void FocusableLink::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      m_follow();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace korvane
