// SPDX-License-Identifier: MIT
#include "window/Menus.h"

#include "resources/Icons.h"

namespace korvane {

void AddMenuItems(QMenu& menu, std::span<const MenuItem> items, const CommandActions& actions) {
  for (const MenuItem& item : items) {
    if (item.submenu != nullptr) {
      AddMenuItems(*menu.addMenu(QString::fromUtf8(item.submenu->title)), item.submenu->items, actions);
    } else if (item.command == kSeparator) {
      menu.addSeparator();
    } else if (item.text == nullptr) {
      menu.addAction(actions.Get(item.command));
    } else {
      // An item of its own, named as this menu names it, for the same command.
      QAction* command = actions.Get(item.command);
      QObject::connect(menu.addAction(QString::fromUtf8(item.text)), &QAction::triggered, command,
                       &QAction::trigger);
    }
  }
}

QMenuBar* BuildMenuBar(QWidget& parent, const CommandActions& actions) {
  auto* bar = new QMenuBar(&parent);
  for (const MenuTemplate& menu : kMenuBar)
    AddMenuItems(*bar->addMenu(QString::fromUtf8(menu.title)), menu.items, actions);
  return bar;
}

QToolBar* BuildToolbar(QWidget& parent, const CommandActions& actions) {
  auto* toolbar = new QToolBar(&parent);
  toolbar->setIconSize(QSize(16, 15));
  for (const ToolbarButton& button : kToolbar) {
    if (button.command == kSeparator) {
      toolbar->addSeparator();
      continue;
    }
    QAction* action = actions.Get(button.command);
    action->setIcon(ToolbarImage(button.image));
    action->setIconVisibleInMenu(false);  // menus show texts only
    action->setToolTip(QString::fromUtf8(button.tip));
    toolbar->addAction(action);
  }
  return toolbar;
}

}  // namespace korvane
