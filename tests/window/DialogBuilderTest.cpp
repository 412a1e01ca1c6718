#include "window/DialogBuilder.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "platform/DialogFont.h"
#include "window/UpDownControl.h"

namespace korvane {
namespace {

TEST(DialogBuilder, RadioGroupsExcludeOnlyWithinThemselvesAndArrowsSitOnTheirField) {
  constexpr ControlTemplate kControls[] = {
      {1, ControlKind::FirstRadioButton, "a0", 0, 0, 40, 10},  {2, ControlKind::RadioButton, "a1", 0, 10, 40, 10},
      {3, ControlKind::FirstRadioButton, "b0", 50, 0, 40, 10}, {4, ControlKind::RadioButton, "b1", 50, 10, 40, 10},
      {5, ControlKind::Edit, "", 8, 40, 40, 13},                {6, ControlKind::UpDown, "", 0, 0, 8, 0},
  };
  QWidget dialog;
  dialog.setFont(DialogFont());
  const BuiltControls built =
      BuildDialog(dialog, {"", 100, 60, kControls}, [](const ControlTemplate&) -> QWidget* { return nullptr; });

  for (int id : {2, 4}) built.Get<QRadioButton>(id)->click();
  built.Get<QRadioButton>(1)->click();
  EXPECT_TRUE(built.Get<QRadioButton>(1)->isChecked());
  EXPECT_FALSE(built.Get<QRadioButton>(2)->isChecked());
  EXPECT_TRUE(built.Get<QRadioButton>(4)->isChecked());
  EXPECT_EQ(built.Get<QRadioButton>(4)->group()->checkedId(), 1);  // its place in its group

  // 8, 40, 40, 13 units are 14, 65, 70, 21 pixels; the 8-unit arrows take 14 of them.
  EXPECT_EQ(built.Get<QLineEdit>(5)->geometry(), QRect(14, 65, 56, 21));
  EXPECT_EQ(built.Get<UpDownControl>(6)->geometry(), QRect(70, 65, 14, 21));
}

}  // namespace
}  // namespace korvane
