// SPDX-License-Identifier: MIT
#include "window/CommandActions.h"

#include "resources/Commands.h"

namespace korvane {

CommandActions::CommandActions(QWidget& owner) {
  for (const CommandTemplate& command : kCommands) {
    auto* action = new QAction(QString::fromUtf8(command.text), &owner);
    action->setObjectName(QString::fromLatin1(command.objectName));
    action->setCheckable(command.option);
    actions_[command.id] = action;
  }
}

QAction* CommandActions::Get(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

}  // namespace korvane
