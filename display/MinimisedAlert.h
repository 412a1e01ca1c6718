// SPDX-License-Identifier: MIT
#pragma once
// What a chat message that arrives while the window is hidden in the tray does, by the
// stored choice (nIconAction).

#include <cstdint>

namespace korvane {

enum class MinimisedAlert { None, Restore, ConfirmBox, BlinkIcon };

constexpr MinimisedAlert AlertFor(std::int32_t iconAction) {
  switch (iconAction) {
    case 0: return MinimisedAlert::Restore;
    case 1: return MinimisedAlert::ConfirmBox;
    case 2: return MinimisedAlert::BlinkIcon;
    default: return MinimisedAlert::None;
  }
}

}  // namespace korvane
