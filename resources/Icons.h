// SPDX-License-Identifier: MIT
#pragma once
// The program's icons: its own two, 32 x 32 pixels, 16 colours, a globe under the word CHAT,
// and the toolbar's images.

#include <QIcon>

namespace korvane {

// Icon 128: red CHAT on black above a blue and green globe; the window's and the tray's icon.
QIcon MainIcon();

// Icon 177: the same picture in white and blue; alternating it with the main icon blinks the tray.
QIcon AlertIcon();

// Image index of toolbar 190: 16 x 15 pixels, cut from one strip.
QIcon ToolbarImage(int index);

}  // namespace korvane
