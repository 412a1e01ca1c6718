// What a screen reader meets: every control a person can operate, in every window, page and
// menu, has a name.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenu>
#include <QTabWidget>

#include "app/CAboutDlg.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"
#include "window/CAddressDlg.h"
#include "window/CSettingsDlg.h"
#include "window/Menus.h"

namespace korvane {
namespace {

// Shown controls that take the keyboard or a click but have no name: "role in named parent".
void CollectUnnamed(QAccessibleInterface* node, const QString& where, QStringList& unnamed) {
  const QAccessible::Role role = node->role();
  const QString name = node->text(QAccessible::Name);
  const bool operable = node->state().focusable || role == QAccessible::PushButton ||
                        role == QAccessible::MenuItem || role == QAccessible::PageTab;
  if (operable && !node->state().invisible && name.trimmed().isEmpty())
    unnamed << QStringLiteral("role 0x%1 in %2").arg(int(role), 0, 16).arg(where);
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), name.isEmpty() ? where : name, unnamed);
}

// A menu's items are in the tree while it is open.
std::string Unnamed(QWidget& root) {
  auto* menu = qobject_cast<QMenu*>(&root);
  menu != nullptr ? menu->popup({}) : root.show();
  QStringList unnamed;
  CollectUnnamed(QAccessible::queryAccessibleInterface(&root), root.windowTitle(), unnamed);
  if (menu != nullptr) menu->hide();
  return unnamed.join(QStringLiteral("; ")).toStdString();
}

TEST(AccessibilityTest, EveryWindowPageAndMenuNamesEveryControl) {
  const test::MessageBoxRecorder boxes;
  test::WindowNetwork network{1};
  CChatDlg window{network.OptionsFor(0)};
  CSettingsDlg settings(PageSeed{window.Settings(), window.Log().LogSizeLimitKB()}, window);
  CAddressDlg address(AddressEntry{});
  CAboutDlg about;
  QMenu memberMenu, displayMenu;  // made afresh for each right-click
  const CommandActions actions(window);
  AddMenuItems(memberMenu, kMemberMenuItems, actions);
  AddMenuItems(displayMenu, kDisplayMenuItems, actions);

  std::vector<QWidget*> roots{&window, &address, &about, &memberMenu, &displayMenu};
  for (QMenu* menu : window.findChildren<QMenu*>()) roots.push_back(menu);  // menu bar's, tray's
  for (QWidget* root : roots) EXPECT_EQ(Unnamed(*root), "") << root->windowTitle().toStdString();
  auto* pages = settings.findChild<QTabWidget*>();
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    EXPECT_EQ(Unnamed(settings), "") << page;
  }
}

}  // namespace
}  // namespace korvane
