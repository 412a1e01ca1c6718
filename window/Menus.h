// SPDX-License-Identifier: MIT
#pragma once
// Menus and the toolbar built from their templates; every item triggers its command's action.

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <span>

#include "resources/Menus.h"
#include "window/CommandActions.h"

namespace korvane {

void AddMenuItems(QMenu& menu, std::span<const MenuItem> items, const CommandActions& actions);

QMenuBar* BuildMenuBar(QWidget& parent, const CommandActions& actions);

// The toolbar's buttons are the commands' own actions, so a pressed button follows its option.
QToolBar* BuildToolbar(QWidget& parent, const CommandActions& actions);

}  // namespace korvane
