// Settings pages alone, without their dialog, and the dialog builder under them: what they
// collect, which controls they enable, and the choosers they open (answered here, never shown).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cstring>

#include "platform/Choosers.h"
#include "platform/CodePage.h"
#include "tests/support/Controls.h"
#include "window/DialogBuilder.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

using test::Control;
namespace page = id::page;

// Every page's fields set; all pages store into one record: a page that stores a field
// wrongly, or one that is not its own, leaves a difference.
TEST(SettingsPagesTest, StoreGivesBackWhatLoadShowed) {
  PageSeed seed{{}, 7};
  SettingsRecord& record = seed.record;
  record.nIconAction = 2;
  std::memset(record.szPhrase[3], 'y', sizeof record.szPhrase[3]);  // full, as a file may hold it
  record.bIconizeAtStart = 1;  // automatic login off, its name kept though disabled
  SetFieldText(record.szDefaultName, Utf8ToCp932("太郎"));
  record.nLogMode = record.bLogSizeLimit = 1;
  SetFieldText(record.szLogFile, "/tmp/log.txt");
  SetFieldText(record.szLogSizeKB, "7");
  record.crText = 0x00123456;
  record.crBack = 0x00FEDCBA;
  SettingsRecord stored{};
  const std::unique_ptr<SettingsPage> pages[] = {std::make_unique<CPage1>(), std::make_unique<CPage2>(),
                                                  std::make_unique<CPage3>(), std::make_unique<CLogPage>(),
                                                  std::make_unique<CColorPage>()};
  for (const auto& shown : pages) {
    shown->Load(seed);
    shown->Store(stored);
  }
  record.szPhrase[3][31] = '\0';  // a full field gets its terminating zero back
  EXPECT_EQ(std::memcmp(&stored, &record, sizeof stored), 0);
}

// Each field takes as many bytes as its record field holds, not one more.
TEST(SettingsPagesTest, FieldsRefuseTextTheirRecordFieldCannotHold) {
  CPage2 phrases;
  CLogPage log;
  const std::tuple<QWidget*, int, int> cases[] = {
      {&phrases, page::kPhrase1 + 4, 31}, {&log, page::kLogFile, 299}, {&log, page::kLogSize, 31}};
  for (const auto& [shown, id, bytes] : cases) {
    auto* field = Control<QLineEdit>(*shown, id);
    QTest::keyClicks(field, QString(bytes, 'a') + 'z');
    EXPECT_EQ(field->text(), QString(bytes, 'a')) << id;
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

// The limit in force, not the stored text, kept within 1..10; the arrows step from what is typed.
TEST(SettingsPagesTest, LogSizeFieldAndItsArrows) {
  for (const auto& [limit, shown, afterUp] : {std::tuple{5, "5", "6"}, {12, "10", "10"}}) {
    PageSeed seed{};
    seed.record.nLogMode = seed.record.bLogSizeLimit = 1;
    SetFieldText(seed.record.szLogSizeKB, "abc");
    seed.logSizeLimitKB = limit;
    CLogPage logPage;
    logPage.Load(seed);
    auto* field = Control<QLineEdit>(logPage, page::kLogSize);
    EXPECT_EQ(field->text(), shown);
    // The arrows take their width from the field's 36 dialog units (63 pixels), not more.
    EXPECT_EQ(field->width() + Control(logPage, page::kLogSizeSpin)->width(), 63);
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), afterUp) << limit;
    field->setText("7");
    Control(logPage, page::kLogSizeSpin)->findChildren<QToolButton*>().front()->click();  // up
    EXPECT_EQ(field->text(), "8");
  }
}

TEST(SettingsPagesTest, ChoosersChangeAValueOnlyWhenConfirmed) {
  SetFileChooser([](QWidget*, const QString&) { return std::optional<QString>(); });  // cancelled
  PageSeed seed{};
  seed.record.nLogMode = 1;
  SetFieldText(seed.record.szLogFile, "/old.txt");
  CLogPage logPage;
  logPage.Load(seed);
  Control<QAbstractButton>(logPage, page::kLogBrowse)->click();
  SettingsRecord stored{};
  logPage.Store(stored);
  EXPECT_EQ(FieldText(stored.szLogFile), "/old.txt");

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
