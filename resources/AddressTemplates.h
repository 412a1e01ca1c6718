// SPDX-License-Identifier: MIT
#pragma once
// Template 198: the out-of-domain page of the settings dialog; template 169: the dialog that
// registers one of its addresses.

#include "resources/ControlIds.h"
#include "resources/DialogTemplate.h"
#include "resources/Texts.h"

namespace korvane {

inline constexpr ControlTemplate kOutDomainPageControls[] = {
    {id::kOutDomainOff, ControlKind::FirstRadioButton, text::kOutDomainOff, 7, 5, 160, 10},
    {id::kOutDomainOn, ControlKind::RadioButton, text::kOutDomainOn, 7, 17, 160, 10},
    // Wide enough for both columns beside a vertical scroll bar.
    {id::kAddrList, ControlKind::ListView, text::kAddressTitle, 7, 31, 125, 85},
    {id::kAddrAdd, ControlKind::PushButton, text::kOutDomainAdd, 138, 31, 32, 14},
    {id::kAddrUpdate, ControlKind::PushButton, text::kOutDomainUpdate, 138, 50, 32, 14},
    {id::kAddrDelete, ControlKind::PushButton, text::kOutDomainDelete, 138, 69, 32, 14},
};

inline constexpr DialogTemplate kOutDomainPage{"", 177, 123, kOutDomainPageControls};

inline constexpr ControlTemplate kAddressDialogControls[] = {
    {id::kAddressNameLabel, ControlKind::Static, text::kAddressName, 10, 8, 94, 8},
    {id::kAddressName, ControlKind::Edit, text::kAddressName, 10, 18, 94, 12},
    {id::kAddressOctetsLabel, ControlKind::Static, text::kAddressOctets, 10, 38, 94, 8},
    {id::kAddressOctet1, ControlKind::Edit, text::kNameOctet1, 10, 48, 21, 12},
    {id::kAddressOctet1 + 1, ControlKind::Edit, text::kNameOctet2, 34, 48, 21, 12},
    {id::kAddressOctet1 + 2, ControlKind::Edit, text::kNameOctet3, 58, 48, 21, 12},
    {id::kAddressOctet1 + 3, ControlKind::Edit, text::kNameOctet4, 82, 48, 21, 12},
    {id::kAddressRegister, ControlKind::PushButton, text::kAddressRegister, 10, 75, 45, 14},
    {id::kAddressCancel, ControlKind::PushButton, text::kAddressCancel, 59, 75, 45, 14},
};

inline constexpr DialogTemplate kAddressDialog{text::kAddressTitle, 114, 99, kAddressDialogControls};

}  // namespace korvane
