// SPDX-License-Identifier: MIT
#pragma once
// A link that exists only as paint on a picture cannot be reached by the keyboard or a screen
// reader. This stand-in covers it: invisible until Tab gives it focus, named with the link's
// text, and Enter or Space follows the link. The mouse passes through to the picture's owner.

#include <QWidget>
#include <functional>

namespace korvane {

class FocusableLink : public QWidget {
 public:
  FocusableLink(const QString& text, std::function<void()> follow, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> m_follow;
};

}  // namespace korvane
