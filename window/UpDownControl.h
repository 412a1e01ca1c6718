// SPDX-License-Identifier: MIT
#pragma once
// Up and down arrows attached to the right edge of a field. They keep a position within a
// range and write it into the field as decimal text; Up and Down typed in the field move
// it too. The field itself still takes any text.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace korvane {

class UpDownControl : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownControl(QWidget* parent = nullptr);

  // Moves onto buddy's right edge, as tall as it, and narrows buddy by this control's width.
  void AttachTo(QLineEdit* buddy);
  void SetRange(int lower, int upper);
  // Kept within the range, then written into the buddy as an edit of the user's.
  void SetPosition(int position);
  int Position() const { return position_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // From the number in the field when it holds one, so the arrows go on from what was typed.
  void Step(int delta);

  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* buddy_ = nullptr;
  int lower_ = 0;
  int upper_ = 100;
  int position_ = 0;
};

}  // namespace korvane
