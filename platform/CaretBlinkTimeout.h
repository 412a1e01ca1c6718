// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

namespace korvane {

// The caret stops blinking after a while without keyboard or mouse input, and blinks again
// at the next one: an idle window, waiting for messages all day, then costs no repaints.
class CaretBlinkTimeout : public QObject {
 public:
  explicit CaretBlinkTimeout(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  ~CaretBlinkTimeout() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();

  int flashTime_;
  QTimer idle_;
};

}  // namespace korvane
