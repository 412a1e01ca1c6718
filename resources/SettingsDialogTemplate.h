// SPDX-License-Identifier: MIT
#pragma once
// Template 179: the settings dialog, a tab control over the six pages and two buttons.

#include "resources/ControlIds.h"
#include "resources/DialogTemplate.h"
#include "resources/Texts.h"

namespace korvane {

inline constexpr ControlTemplate kSettingsDialogControls[] = {
    {id::kSettingsTabs, ControlKind::TabControl, text::kSettingsTitle, 12, 10, 185, 150},
    {id::kSettingsClose, ControlKind::PushButton, text::kSettingsClose, 95, 175, 50, 14},
    {id::kSettingsApply, ControlKind::PushButton, text::kSettingsApply, 145, 175, 50, 14},
};

inline constexpr DialogTemplate kSettingsDialog{text::kSettingsTitle, 209, 205, kSettingsDialogControls};

}  // namespace korvane
