// SPDX-License-Identifier: MIT
#pragma once
// Where every line meant for the user or the chat log goes, and the message boxes the
// protocol side raises: both belong to the window.

#include <cstdint>
#include <string>

namespace korvane {

enum class LineKind : std::int32_t {
  Chat = 1,    // shown, wrapped when auto line-break is on
  Trace = 2,   // written to the log only
  Prompt = 3,  // always shown
  Notice = 4,  // shown while system messages are on
};

class LineSink {
 public:
  virtual ~LineSink() = default;
  // text is code page 932.
  virtual void ShowLine(const std::string& text, LineKind kind) = 0;
  // False when trace lines would go nowhere (no log): then nobody makes them, which spares
  // the formatting and the call for every packet.
  virtual bool TakesTraces() const { return true; }
  // Bracket the lines one received packet makes, which follow one another within
  // microseconds: a log may look its file's name up once for all of them.
  virtual void BeginPacketLines() {}
  virtual void EndPacketLines() {}
  void ShowTrace(const std::string& text) {
    if (TakesTraces()) ShowLine(text, LineKind::Trace);
  }
};

class MessageBoxHost {
 public:
  virtual ~MessageBoxHost() = default;
  // text is code page 932, style the MB_ bits of platform/MessageBox.h. Returns once the
  // user has closed the box, from whichever thread it was asked.
  virtual void ShowMessageBox(const std::string& text, unsigned style) = 0;
};

}  // namespace korvane
