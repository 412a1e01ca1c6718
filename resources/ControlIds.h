// SPDX-License-Identifier: MIT
#pragma once
// Numeric ids of the controls and commands; tests find controls by them.

namespace korvane::id {

// Controls of the main window (template 102).
constexpr int kMessageList = 1000;
constexpr int kMessageInput = 1001;
constexpr int kMemberList = 1005;
constexpr int kMemberLabel = 1010;
constexpr int kSend = 1041;
constexpr int kHandleInput = 1052;
constexpr int kLogin = 1053;
constexpr int kLoginGroup = 1054;
constexpr int kLogout = 1055;
constexpr int kClearDisplay = 1068;
constexpr int kInputLabel = 1097;

// Commands that no control carries.
constexpr int kSystemAbout = 16;
constexpr int kAbout = 1020;
constexpr int kHelp = 32773;
constexpr int kSystemMessages = 32777;
constexpr int kEcho = 32781;
constexpr int kSettings = 32785;
constexpr int kShowPhrases = 32786;
constexpr int kViewLog = 32789;
constexpr int kClearLog = 32790;
constexpr int kDeselectAll = 32793;
constexpr int kAutoWrap = 32795;
constexpr int kQuit = 57665;

// Controls of the settings dialog (template 179).
constexpr int kSettingsClose = 1;
constexpr int kSettingsTabs = 1071;
constexpr int kSettingsApply = 1087;

// Controls of the about box (template 100).
constexpr int kAboutOk = 1;
constexpr int kAboutLink = 1022;

// A control nobody refers to, such as a frame.
constexpr int kUnnamed = -1;

// Controls of the settings pages (templates 180, 181, 183, 196 and 197). Each page is a
// dialog of its own, so pages reuse ids.
namespace page {

// Iconised behaviour (180).
constexpr int kIconPopUp = 1072;
constexpr int kIconConfirm = 1073;
constexpr int kIconBlink = 1074;

// Fixed phrases (181).
constexpr int kPhrase1 = 1075;  // to kPhrase1 + 4 for M5
constexpr int kPhraseLabel1 = 1080;  // to kPhraseLabel1 + 4
constexpr int kPhrasesPrompt = 1086;

// Start-up (183).
constexpr int kAutoLogin = 1090;
constexpr int kDefaultName = 1091;
constexpr int kStartNote = 1092;
constexpr int kDefaultNameLabel = 1093;
constexpr int kIconiseAtStart = 1098;

// Log (196).
constexpr int kLogOff = 1072;
constexpr int kLogOn = 1073;
constexpr int kLogBrowse = 1099;
constexpr int kLogSizeLimit = 1100;
constexpr int kLogSizeSpin = 1103;
constexpr int kLogFile = 1104;
constexpr int kLogSize = 1105;
constexpr int kLogFileLabel = 1106;
constexpr int kLogSizeUnit = 1107;

// Colours (197).
constexpr int kColourSample = 1101;
constexpr int kTextColour = 1108;
constexpr int kBackColour = 1109;

}  // namespace page

// Controls of the out-of-domain page (template 198).
constexpr int kOutDomainOff = 1072;
constexpr int kOutDomainOn = 1073;
constexpr int kAddrList = 1110;
constexpr int kAddrDelete = 1111;
constexpr int kAddrAdd = 1112;
constexpr int kAddrUpdate = 1113;

// Controls of the address registration dialog (template 169).
constexpr int kAddressRegister = 1;
constexpr int kAddressCancel = 2;
constexpr int kAddressName = 1061;
constexpr int kAddressNameLabel = 1062;
constexpr int kAddressOctet1 = 1063;  // octets 2 to 4 follow
constexpr int kAddressOctetsLabel = 1067;

// The property under which every control carries its id.
constexpr const char* kControlIdProperty = "controlId";

}  // namespace korvane::id
