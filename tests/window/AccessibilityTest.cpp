// What a screen reader meets: every control a person can operate, in every window and menu,
// has a name of its own.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "app/CAboutDlg.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"
#include "window/CAddressDlg.h"
#include "window/CSettingsDlg.h"
#include "window/Menus.h"

namespace korvane {
namespace {

bool Operable(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::EditableText: case QAccessible::SpinBox: case QAccessible::List:
    case QAccessible::Tree: case QAccessible::Table: case QAccessible::MenuItem:
    case QAccessible::PageTab: case QAccessible::ButtonMenu: case QAccessible::ButtonDropDown:
    case QAccessible::ComboBox: case QAccessible::Link:
      return true;
    default:
      return false;
  }
}

// Each operable control without a name, as "role under parent's name".
void CollectUnnamed(QAccessibleInterface* node, const QString& where, QStringList& unnamed) {
  if (node == nullptr) return;
  const QString name = node->text(QAccessible::Name);
  if ((Operable(node->role()) || node->state().focusable) && name.trimmed().isEmpty() && !node->state().invisible)
    unnamed << QStringLiteral("role 0x%1 in %2").arg(int(node->role()), 0, 16).arg(where);
  for (int i = 0; i < node->childCount(); ++i)
    CollectUnnamed(node->child(i), name.isEmpty() ? where : name, unnamed);
}

std::string Unnamed(QObject& root) {
  QStringList unnamed;
  CollectUnnamed(QAccessible::queryAccessibleInterface(&root), root.objectName(), unnamed);
  return unnamed.join(QStringLiteral("; ")).toStdString();
}

// A menu's items are in the tree while it is open.
std::string UnnamedInMenu(QMenu& menu) {
  menu.popup({});
  std::string unnamed = Unnamed(menu);
  menu.hide();
  return unnamed;
}

class AccessibilityTest : public testing::Test {
 protected:
  AccessibilityTest() { window.show(); }

  test::MessageBoxRecorder boxes;
  test::WindowNetwork network{1};
  CChatDlg window{network.OptionsFor(0)};
};

TEST_F(AccessibilityTest, MainWindowItsMenusAndToolbarNameEveryControl) {
  EXPECT_EQ(Unnamed(window), "");
  std::string menus;
  for (QMenu* menu : window.findChildren<QMenu*>()) menus += UnnamedInMenu(*menu);
  const CommandActions actions(window);
  for (const auto items : {std::span<const MenuItem>(kMemberMenuItems), std::span<const MenuItem>(kDisplayMenuItems)}) {
    QMenu popUp;
    AddMenuItems(popUp, items, actions);
    menus += UnnamedInMenu(popUp);
  }
  EXPECT_EQ(menus, "");
}

TEST_F(AccessibilityTest, DialogsNameEveryControlOnEveryPage) {
  CSettingsDlg settings(PageSeed{window.Settings(), window.Log().LogSizeLimitKB()}, window);
  settings.show();
  auto* tabs = settings.findChild<QTabWidget*>();
  for (int page = 0; page < tabs->count(); ++page) {
    tabs->setCurrentIndex(page);
    EXPECT_EQ(Unnamed(settings), "") << page;
  }
  CAddressDlg address(AddressEntry{});
  CAboutDlg about;
  for (QDialog* dialog : std::initializer_list<QDialog*>{&address, &about}) {
    dialog->show();
    EXPECT_EQ(Unnamed(*dialog), "") << dialog->windowTitle().toStdString();
  }
}

}  // namespace
}  // namespace korvane
