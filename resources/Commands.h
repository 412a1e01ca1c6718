// SPDX-License-Identifier: MIT
#pragma once
// The commands of the main window. Each becomes one action, whatever menu, toolbar button,
// push button or key reaches it; tests pick an action by its object name, as a person picks
// the item.

#include "resources/ControlIds.h"
#include "resources/Texts.h"

namespace korvane {

struct CommandTemplate {
  int id;
  const char* objectName;
  const char* text;  // UTF-8, as the main menu shows it
  bool option;       // a checkable option, shown with a check mark or a pressed button
};

inline constexpr CommandTemplate kCommands[] = {
    {id::kSystemAbout, "actionSystemAbout", text::kCmdSystemAbout, false},
    {id::kAbout, "actionAbout", text::kCmdAbout, false},
    {id::kSend, "actionSend", text::kSendButton, false},
    {id::kLogin, "actionLogin", text::kCmdLogin, false},
    {id::kLogout, "actionLogout", text::kCmdLogout, false},
    {id::kClearDisplay, "actionClearDisplay", text::kCmdClearDisplay, false},
    {id::kHelp, "actionHelp", text::kCmdHelp, false},
    {id::kSystemMessages, "actionSystemMessages", text::kCmdSystemMessages, true},
    {id::kEcho, "actionEcho", text::kCmdEcho, true},
    {id::kSettings, "actionSettings", text::kCmdSettings, false},
    {id::kShowPhrases, "actionShowPhrases", text::kCmdShowPhrases, false},
    {id::kViewLog, "actionViewLog", text::kCmdViewLog, false},
    {id::kClearLog, "actionClearLog", text::kCmdClearLog, false},
    {id::kDeselectAll, "actionDeselectAll", text::kCmdDeselectAll, false},
    {id::kAutoWrap, "actionAutoWrap", text::kCmdAutoWrap, true},
    {id::kQuit, "actionQuit", text::kCmdQuit, false},
};

}  // namespace korvane
