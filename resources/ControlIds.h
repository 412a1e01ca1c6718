#pragma once
// Numeric ids of the main window's controls and commands; tests find controls by them.

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

// Controls of the about box (template 100).
constexpr int kAboutOk = 1;
constexpr int kAboutLink = 1022;

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
