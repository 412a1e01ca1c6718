// SPDX-License-Identifier: MIT
#pragma once
// Replaces the message box by a recorder for the life of the object.

#include <mutex>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"

namespace korvane::test {

struct RecordedBox {
  std::string text;  // UTF-8, for readable assertions
  unsigned style;
};

class MessageBoxRecorder {
 public:
  ~MessageBoxRecorder() { SetMessageBoxHandler(previous_); }
  std::vector<RecordedBox> Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedBox> boxes_;
  MessageBoxHandler previous_ = SetMessageBoxHandler([this](const std::string& text, unsigned style) {
    std::lock_guard lock(mutex_);
    boxes_.push_back({Cp932ToUtf8(text), style});
    return IDOK;
  });
};

}  // namespace korvane::test
