// SPDX-License-Identifier: MIT
#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace korvane {
namespace {

std::mutex g_handlerMutex;
MessageBoxHandler g_handler;

int PrintToStderr(const std::string& text, unsigned) {
  std::fprintf(stderr, "korvane: %s\n", text.c_str());
  return IDOK;
}

}  // namespace

int AfxMessageBox(const std::string& text, unsigned style) {
  MessageBoxHandler handler;
  {
    std::lock_guard lock(g_handlerMutex);
    handler = g_handler;
  }
  // Called outside the lock: a box may stay open for a long time.
  return handler ? handler(text, style) : PrintToStderr(text, style);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(g_handlerMutex);
  std::swap(g_handler, handler);
  return handler;
}

}  // namespace korvane
