// SPDX-License-Identifier: MIT
#pragma once
// The menus and the toolbar as data: which command each item triggers, in order. An item
// without a text of its own shows its command's main-menu text.

#include <span>

#include "resources/ControlIds.h"
#include "resources/Texts.h"

namespace korvane {

constexpr int kSeparator = 0;

struct MenuTemplate;

struct MenuItem {
  int command = kSeparator;
  const char* text = nullptr;
  const MenuTemplate* submenu = nullptr;  // with no command
};

struct MenuTemplate {
  const char* title;
  std::span<const MenuItem> items;
};

// Menu 174, the menu bar.
inline constexpr MenuItem kMainMenuItems[] = {
    {id::kClearDisplay}, {},
    {id::kShowPhrases}, {id::kViewLog}, {id::kClearLog}, {id::kDeselectAll}, {},
    {id::kLogin}, {id::kLogout}, {},
    {id::kQuit}};
inline constexpr MenuItem kDisplayModeItems[] = {{id::kSystemMessages}, {id::kAutoWrap}, {}, {id::kEcho}};
inline constexpr MenuTemplate kDisplayModeMenu{text::kMenuDisplayMode, kDisplayModeItems};
inline constexpr MenuItem kSettingsMenuItems[] = {{kSeparator, nullptr, &kDisplayModeMenu}, {}, {id::kSettings}};
inline constexpr MenuItem kHelpMenuItems[] = {{id::kHelp}, {}, {id::kAbout}};
inline constexpr MenuTemplate kMenuBar[] = {{text::kMenuMain, kMainMenuItems},
                                            {text::kMenuSettings, kSettingsMenuItems},
                                            {text::kMenuHelp, kHelpMenuItems}};

// Menu 173, the tray icon's.
inline constexpr MenuItem kTrayMenuItems[] = {
    {id::kSettings, text::kItemSettings}, {},
    {id::kHelp}, {id::kAbout, text::kItemAbout}, {id::kLogout, text::kItemLogout}, {},
    {id::kQuit, text::kItemQuit}};

// The member list's right-click menu.
inline constexpr MenuItem kMemberMenuItems[] = {{id::kDeselectAll, text::kItemDeselectAll}};

// The message display's right-click menu.
inline constexpr MenuItem kDisplayMenuItems[] = {
    {id::kClearDisplay, text::kItemClearDisplay}, {id::kDeselectAll, text::kItemDeselectAll}, {},
    {id::kAbout, text::kItemAbout}, {},
    {id::kViewLog, text::kItemViewLog}, {id::kClearLog, text::kItemClearLog}, {},
    {id::kShowPhrases, text::kItemShowPhrases}, {id::kLogout, text::kItemLogout}};

// Toolbar 190: 16 x 15 images, taken in order from one strip.
struct ToolbarButton {
  int command = kSeparator;
  int image = -1;
  const char* tip = nullptr;
};
inline constexpr ToolbarButton kToolbar[] = {
    {id::kSettings, 0, text::kTipSettings}, {},
    {id::kAutoWrap, 1, text::kTipAutoWrap}, {id::kSystemMessages, 2, text::kTipSystemMessages}, {},
    {id::kHelp, 3, text::kTipHelp}};

}  // namespace korvane
