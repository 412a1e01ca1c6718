// SPDX-License-Identifier: MIT
#pragma once
// Template 100: the about box. Both controls are hidden: the button still takes Enter, and the
// static only marks the mail link's rectangle on the picture.

#include "resources/ControlIds.h"
#include "resources/DialogTemplate.h"
#include "resources/Texts.h"

namespace korvane {

inline constexpr ControlTemplate kAboutDialogControls[] = {
    {id::kAboutOk, ControlKind::PushButton, text::kAboutOk, 51, 69, 32, 14, false},
    {id::kAboutLink, ControlKind::Static, text::kAboutMail, 91, 96, 123, 15, false},
};

inline constexpr DialogTemplate kAboutDialog{text::kAboutTitle, 229, 131, kAboutDialogControls};

}  // namespace korvane
