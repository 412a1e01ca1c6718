// SPDX-License-Identifier: MIT
#pragma once
// The main window's actions, one per command of the command table, owned by the window.

#include <QAction>
#include <QWidget>
#include <map>

namespace korvane {

class CommandActions {
 public:
  explicit CommandActions(QWidget& owner);

  // The action of command id; nullptr for an id that is no command.
  QAction* Get(int id) const;

 private:
  std::map<int, QAction*> actions_;
};

}  // namespace korvane
