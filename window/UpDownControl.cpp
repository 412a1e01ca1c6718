// SPDX-License-Identifier: MIT
#include "window/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "resources/Texts.h"

namespace korvane {

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  const auto arrange = [this](QToolButton* button, Qt::ArrowType arrow, const char* name, int delta) {
    button->setArrowType(arrow);
    button->setAccessibleName(QString::fromUtf8(name));
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
  };
  arrange(up_, Qt::UpArrow, text::kNameStepUp, 1);
  arrange(down_, Qt::DownArrow, text::kNameStepDown, -1);
}

void UpDownControl::AttachTo(QLineEdit* buddy) {
  buddy_ = buddy;
  const QRect field = buddy->geometry();
  buddy->resize(field.width() - width(), field.height());
  setGeometry(buddy->geometry().right() + 1, field.top(), width(), field.height());
  buddy->installEventFilter(this);
}

void UpDownControl::SetRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
}

void UpDownControl::SetPosition(int position) {
  position_ = std::clamp(position, lower_, upper_);
  if (buddy_ == nullptr) return;
  buddy_->setText(QString::number(position_));
  buddy_->setModified(true);  // as if typed: the field's text goes back to its record
}

void UpDownControl::Step(int delta) {
  bool typed = false;
  const int number = buddy_ != nullptr ? buddy_->text().toInt(&typed) : 0;
  SetPosition(std::clamp(typed ? number : position_, lower_, upper_) + delta);
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace korvane
