// SPDX-License-Identifier: MIT
#include "platform/CaretBlinkTimeout.h"

#include <QApplication>
#include <QEvent>

namespace korvane {

CaretBlinkTimeout::CaretBlinkTimeout(std::chrono::milliseconds timeout)
    : flashTime_(QApplication::cursorFlashTime()) {
  idle_.setSingleShot(true);
  idle_.setInterval(timeout);
  connect(&idle_, &QTimer::timeout, this, &CaretBlinkTimeout::Stop);
  idle_.start();
  qApp->installEventFilter(this);
}

CaretBlinkTimeout::~CaretBlinkTimeout() {
  qApp->removeEventFilter(this);
  QApplication::setCursorFlashTime(flashTime_);
}

void CaretBlinkTimeout::Stop() { QApplication::setCursorFlashTime(0); }

bool CaretBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
      if (QApplication::cursorFlashTime() != flashTime_) QApplication::setCursorFlashTime(flashTime_);
      idle_.start();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace korvane
