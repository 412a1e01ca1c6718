// SPDX-License-Identifier: MIT
// Settings pages alone, without their dialog, and the dialog builder under them: what they
// collect, which controls they enable, and the choosers they open (answered here, never shown).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cstring>

#include "platform/Choosers.h"
#include "platform/CodePage.h"
#include "tests/support/Controls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "window/DialogBuilder.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

using test::Control;
namespace page = id::page;

// A field refuses what its record field cannot hold, typed or committed by an input method
// (a Japanese character takes two bytes), and a box says why.
TEST(SettingsPagesTest, FieldsRefuseWhatTheirRecordFieldCannotHold) {
  test::MessageBoxRecorder boxes;
  CPage2 phrases;
  CLogPage log;
  const std::tuple<QWidget*, int, QString, QString, const char*> cases[] = {  // field, before, entered, box
      {&phrases, page::kPhrase1 + 4, QString(29, 'a'), "あ", nullptr},
      {&log, page::kLogSize, QString(30, '1'), "あ", "31 バイトまでです（全角文字は2バイト）"},
      {&phrases, page::kPhrase1, "", "〜∥－¬①㈱", nullptr},
      {&phrases, page::kPhrase1, "", "café", "使えない文字です（シフトJISの文字だけが使えます）"},
      {&log, page::kLogFile, QString(299, 'a'), "z", "299 バイトまでです（全角文字は2バイト）"},
  };
  std::size_t told = 0;
  for (const auto& [shown, id, before, entered, box] : cases) {
    auto* field = Control<QLineEdit>(*shown, id);
    field->setText(before);
    QInputMethodEvent commit;
    commit.setCommitString(entered);
    QApplication::sendEvent(field, &commit);
    EXPECT_EQ(field->text(), box ? before : before + entered) << entered.toStdString();
    const auto shownBoxes = boxes.Boxes();
    ASSERT_EQ(shownBoxes.size(), told + (box ? 1 : 0)) << entered.toStdString();  // one box a refusal
    EXPECT_EQ(box ? shownBoxes.back().text : "", box ? box : "");
    told = shownBoxes.size();
  }
}

// Shown with automatic login off, with no log or with an unknown log mode (a log).
TEST(SettingsPagesTest, EnablingFollowsTheChoicesWhenShown) {
  CPage3 startup;
  startup.Load(PageSeed{});
  startup.show();
  EXPECT_FALSE(Control(startup, page::kDefaultName)->isEnabled());
  for (const std::int32_t mode : {0, 2}) {
    PageSeed seed{};
    seed.record.nLogMode = mode;
    seed.record.bLogSizeLimit = 1;
    CLogPage log;
    log.Load(seed);
    log.show();
    for (const int id : {page::kLogFile, page::kLogBrowse, page::kLogSizeLimit, page::kLogSize, page::kLogSizeSpin})
      EXPECT_EQ(Control(log, id)->isEnabled(), mode == 2) << mode << ": " << id;
  }
}

// The stored text as it stands; the arrows step, within 1..10, from the number typed, and
// what they show is stored.
TEST(SettingsPagesTest, LogSizeFieldAndItsArrows) {
  PageSeed seed{};
  seed.record.nLogMode = seed.record.bLogSizeLimit = 1;
  SetFieldText(seed.record.szLogSizeKB, "100");
  CLogPage logPage;
  logPage.Load(seed);
  auto* field = Control<QLineEdit>(logPage, page::kLogSize);
  // The arrows take their width from the field's 36 dialog units (63 pixels), not more.
  EXPECT_EQ(field->width() + Control(logPage, page::kLogSizeSpin)->width(), 63);
  QTest::keyClick(field, Qt::Key_Up);
  EXPECT_EQ(field->text(), "10");
  field->setText("7");
  Control(logPage, page::kLogSizeSpin)->findChildren<QToolButton*>().front()->click();  // up
  SettingsRecord stored{};
  logPage.Store(stored);
  EXPECT_EQ(FieldText(stored.szLogSizeKB), "8");
}

// A file name is taken when chosen, and when its field could hold it; untouched, the record
// keeps its own.
TEST(SettingsPagesTest, ChoosersChangeAValueOnlyWhenConfirmed) {
  PageSeed seed{};
  seed.record.nLogMode = 1;
  SetFieldText(seed.record.szLogFile, "/old.txt");
  CLogPage logPage;
  logPage.Load(seed);
  SettingsRecord stored{};
  for (const auto& [chosen, kept] : {std::pair<std::optional<QString>, const char*>{std::nullopt, ""},
                                     {"/café.txt", ""}, {"/chosen.txt", "/chosen.txt"}}) {
    SetFileChooser([chosen](QWidget*, const QString&) { return chosen; });
    Control<QAbstractButton>(logPage, page::kLogBrowse)->click();
    logPage.Store(stored);
    EXPECT_EQ(FieldText(stored.szLogFile), kept);
  }

  // The text colour chosen, the background untouched by it.
  const QColor colour(0x12, 0x34, 0x56);
  SetColourChooser([&](QWidget*, const QColor&) { return colour; });
  seed.record.crText = 0x00000080;
  seed.record.crBack = 0x00C0FFEE;
  CColorPage colourPage;
  colourPage.Load(seed);
  Control<QAbstractButton>(colourPage, page::kTextColour)->click();
  colourPage.Store(stored);
  EXPECT_EQ(stored.crText, 0x00563412u);
  EXPECT_EQ(stored.crBack, 0x00C0FFEEu);
  EXPECT_EQ(Control(colourPage, page::kColourSample)->palette().color(QPalette::WindowText), colour);
  SetFileChooser({});  // the real choosers again
  SetColourChooser({});
}

TEST(DialogBuilder, RadioGroupsExcludeOnlyWithinThemselves) {
  constexpr ControlTemplate kControls[] = {
      {1, ControlKind::FirstRadioButton, "a0", 0, 0, 40, 10},  {2, ControlKind::RadioButton, "a1", 0, 10, 40, 10},
      {3, ControlKind::FirstRadioButton, "b0", 50, 0, 40, 10}, {4, ControlKind::RadioButton, "b1", 50, 10, 40, 10}};
  QWidget dialog;
  const BuiltControls built = BuildDialog(dialog, {"", 100, 60, kControls}, [](const ControlTemplate&) {
    return static_cast<QWidget*>(nullptr);
  });
  built.Get<QRadioButton>(4)->click();
  built.Get<QRadioButton>(1)->click();
  EXPECT_TRUE(built.Get<QRadioButton>(4)->isChecked());
  EXPECT_EQ(built.Get<QRadioButton>(4)->group()->checkedId(), 1);  // its place in its group
}

}  // namespace
}  // namespace korvane
