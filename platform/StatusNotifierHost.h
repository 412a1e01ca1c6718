// SPDX-License-Identifier: MIT
#pragma once

namespace korvane {

// True when the desktop's notification area speaks the StatusNotifierItem protocol. Its
// hosts report a click on the icon as a single activation and never as a double click.
bool StatusNotifierHostRunning();

}  // namespace korvane
