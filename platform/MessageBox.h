// SPDX-License-Identifier: MIT
#pragma once
// The program's one way to raise a modal message box. The window installs a handler that
// shows a real box; tests install a recorder. Without a handler the text goes to stderr.

#include <functional>
#include <string>

namespace korvane {

// Style bits, with the values the settings file and peers' documentation use.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_TOPMOST = 0x40000;
// Ours: the caller does not wait; the box stays open on its own, beside any others.
constexpr unsigned MB_NOWAIT = 0x80000000;

constexpr int IDOK = 1;

// text is code page 932; the handler returns the id of the button pressed.
using MessageBoxHandler = std::function<int(const std::string& text, unsigned style)>;

int AfxMessageBox(const std::string& text, unsigned style = MB_OK);

// Installs handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace korvane
