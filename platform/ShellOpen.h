// SPDX-License-Identifier: MIT
#pragma once
// Asks the desktop to open a file in the program associated with its type. The result is
// never looked at. Tests install a recorder in place of the desktop.

#include <functional>
#include <string>

namespace korvane {

using ShellOpenHandler = std::function<void(const std::string& pathCp932)>;

// Without a handler: starts xdg-open on the path and does not wait for it.
void ShellOpen(const std::string& pathCp932);

// Installs handler (an empty one restores the default) and returns the previous one.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

}  // namespace korvane
