// SPDX-License-Identifier: MIT
#pragma once
// Template 102: the main window.

#include "resources/ControlIds.h"
#include "resources/DialogTemplate.h"
#include "resources/Texts.h"

namespace korvane {

inline constexpr ControlTemplate kMainDialogControls[] = {
    {id::kMessageList, ControlKind::ListBox, text::kNameMessageDisplay, 81, 15, 195, 120},
    {id::kMemberList, ControlKind::ListView, text::kConnectedMembers, 10, 16, 60, 100},
    {id::kMemberLabel, ControlKind::Static, text::kConnectedMembers, 13, 4, 67, 8},
    {id::kMessageInput, ControlKind::Edit, text::kInputLabel, 81, 150, 195, 13},
    {id::kSend, ControlKind::PushButton, text::kSendButton, 6, 156, 25, 14, false},
    {id::kHandleInput, ControlKind::Edit, text::kNameHandle, 13, 139, 41, 15},
    {id::kLoginGroup, ControlKind::GroupBox, text::kLoginGroup, 5, 124, 70, 40},
    {id::kLogin, ControlKind::PushButton, text::kLoginButton, 55, 140, 15, 14},
    {id::kLogout, ControlKind::PushButton, text::kLogoutButton, 16, 139, 50, 14},
    {id::kClearDisplay, ControlKind::PushButton, text::kClearButton, 31, 156, 25, 14, false},
    {id::kInputLabel, ControlKind::Static, text::kInputLabel, 81, 140, 110, 8},
};

inline constexpr DialogTemplate kMainDialog{text::kMainTitle, 283, 183, kMainDialogControls};

}  // namespace korvane
