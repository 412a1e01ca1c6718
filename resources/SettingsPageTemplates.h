// SPDX-License-Identifier: MIT
#pragma once
// Templates 180, 181, 183, 196 and 197: five pages of the settings dialog, each titled with
// its tab's text. Rows are spaced for check boxes and radio buttons 11 units high and fields
// 13 units high (21 pixels, what a line edit needs for the 12-pixel font).

#include "resources/ControlIds.h"
#include "resources/DialogTemplate.h"
#include "resources/Texts.h"

namespace korvane {

inline constexpr ControlTemplate kPage1Controls[] = {
    {id::kUnnamed, ControlKind::GroupBox, text::kIconGroup, 7, 7, 148, 78},
    {id::page::kIconPopUp, ControlKind::FirstRadioButton, text::kIconPopUp, 17, 26, 130, 11},
    {id::page::kIconConfirm, ControlKind::RadioButton, text::kIconConfirm, 17, 43, 130, 11},
    {id::page::kIconBlink, ControlKind::RadioButton, text::kIconBlink, 17, 60, 130, 11},
};
inline constexpr DialogTemplate kPage1Dialog{text::kTabIcon, 162, 93, kPage1Controls};

// The labels are as tall as their fields, so their text stands level with the fields' text.
inline constexpr ControlTemplate kPage2Controls[] = {
    {id::page::kPhrasesPrompt, ControlKind::Static, text::kPhrasesPrompt, 10, 8, 157, 8},
    {id::page::kPhraseLabel1, ControlKind::Static, text::kPhraseLabel1, 14, 22, 16, 13},
    {id::page::kPhrase1, ControlKind::Edit, text::kPhraseLabel1, 32, 22, 135, 13},
    {id::page::kPhraseLabel1 + 1, ControlKind::Static, text::kPhraseLabel2, 14, 40, 16, 13},
    {id::page::kPhrase1 + 1, ControlKind::Edit, text::kPhraseLabel2, 32, 40, 135, 13},
    {id::page::kPhraseLabel1 + 2, ControlKind::Static, text::kPhraseLabel3, 14, 58, 16, 13},
    {id::page::kPhrase1 + 2, ControlKind::Edit, text::kPhraseLabel3, 32, 58, 135, 13},
    {id::page::kPhraseLabel1 + 3, ControlKind::Static, text::kPhraseLabel4, 14, 76, 16, 13},
    {id::page::kPhrase1 + 3, ControlKind::Edit, text::kPhraseLabel4, 32, 76, 135, 13},
    {id::page::kPhraseLabel1 + 4, ControlKind::Static, text::kPhraseLabel5, 14, 94, 16, 13},
    {id::page::kPhrase1 + 4, ControlKind::Edit, text::kPhraseLabel5, 32, 94, 135, 13},
};
inline constexpr DialogTemplate kPage2Dialog{text::kTabPhrases, 177, 121, kPage2Controls};

inline constexpr ControlTemplate kPage3Controls[] = {
    {id::page::kIconiseAtStart, ControlKind::CheckBox, text::kStartIconised, 10, 9, 140, 11},
    {id::page::kAutoLogin, ControlKind::CheckBox, text::kStartAutoLogin, 10, 25, 140, 11},
    {id::page::kDefaultNameLabel, ControlKind::Static, text::kStartDefaultName, 22, 42, 128, 8},
    {id::page::kDefaultName, ControlKind::Edit, text::kStartDefaultName, 22, 53, 100, 13},
    {id::page::kStartNote, ControlKind::Static, text::kStartNote, 10, 78, 142, 8},
};
inline constexpr DialogTemplate kPage3Dialog{text::kTabStartup, 162, 96, kPage3Controls};

inline constexpr ControlTemplate kLogPageControls[] = {
    {id::page::kLogOff, ControlKind::FirstRadioButton, text::kLogOff, 10, 10, 80, 11},
    {id::page::kLogOn, ControlKind::RadioButton, text::kLogOn, 10, 25, 80, 11},
    {id::page::kLogFileLabel, ControlKind::Static, text::kLogFileLabel, 22, 43, 80, 8},
    {id::page::kLogFile, ControlKind::Edit, text::kLogFileLabel, 22, 54, 110, 13},
    {id::page::kLogBrowse, ControlKind::PushButton, text::kLogBrowse, 137, 53, 30, 14},
    {id::page::kLogSizeLimit, ControlKind::CheckBox, text::kLogSizeLimit, 22, 78, 120, 11},
    {id::page::kLogSize, ControlKind::Edit, text::kNameLogSize, 34, 94, 36, 13},
    {id::page::kLogSizeSpin, ControlKind::UpDown, "", 0, 0, 9, 0},
    {id::page::kLogSizeUnit, ControlKind::Static, text::kLogSizeUnit, 74, 94, 96, 13},
};
inline constexpr DialogTemplate kLogPageDialog{text::kTabLog, 177, 123, kLogPageControls};

// The sample (1101) shows the two colours together, as the display will.
inline constexpr ControlTemplate kColorPageControls[] = {
    {id::kUnnamed, ControlKind::GroupBox, text::kColourGroup, 7, 7, 133, 78},
    {id::page::kTextColour, ControlKind::PushButton, text::kColourText, 17, 29, 50, 14},
    {id::page::kBackColour, ControlKind::PushButton, text::kColourBack, 17, 55, 50, 14},
    {id::page::kColourSample, ControlKind::Static, text::kColourSample, 77, 29, 53, 40},
};
inline constexpr DialogTemplate kColorPageDialog{text::kTabColours, 147, 93, kColorPageControls};

}  // namespace korvane
