// SPDX-License-Identifier: MIT
#pragma once

namespace korvane {

// Makes AfxMessageBox show a real message box. Called from another thread, the box is shown
// on the UI thread while the caller waits; the window stays responsive.
void InstallQtMessageBox();

}  // namespace korvane
