#pragma once
// Numeric ids of the main window's controls and commands; tests find controls by them.

namespace korvane::id {

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

// The property under which every control carries its id.
constexpr const char* kControlIdProperty = "controlId";

}  // namespace korvane::id
