#pragma once
// The program's two icons: 32 x 32 pixels, 16 colours, a globe under the word CHAT.

#include <QIcon>

namespace korvane {

// Icon 128: red CHAT on black above a blue and green globe; the window's and the tray's icon.
QIcon MainIcon();

// Icon 177: the same picture in white and blue; alternating it with the main icon blinks the tray.
QIcon AlertIcon();

}  // namespace korvane
