// Five settings pages alone, without their dialog: what they collect, which controls they
// enable, and the choosers they open (answered here, never shown).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Choosers.h"
#include "platform/QtColour.h"
#include "tests/support/WindowNetwork.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

using test::Control;
using test::TypeAndEnter;
namespace page = id::page;

using PageFactory = std::unique_ptr<SettingsPage> (*)();
template <typename Page>
std::unique_ptr<SettingsPage> Make() {
  return std::make_unique<Page>();
}

SettingsRecord Stored(const SettingsPage& page) {
  SettingsRecord record{};
  page.Store(record);
  return record;
}

// Every page's fields set; all pages store into one record: a page that stores a field
// wrongly, or one that is not its own, leaves a difference.
TEST(SettingsPagesTest, StoreGivesBackWhatLoadShowed) {
  PageSeed seed{{}, 7};
  SettingsRecord& record = seed.record;
  record.nIconAction = 2;
  SetFieldText(record.szPhrase[0], "Hello");
  SetFieldText(record.szPhrase[1], Utf8ToCp932("こんにちは"));
  std::memset(record.szPhrase[3], 'y', sizeof record.szPhrase[3]);  // full, as a file may hold it
  SetFieldText(record.szPhrase[4], Utf8ToCp932("ﾊﾝｶｸ"));
  record.bIconizeAtStart = 1;  // automatic login off, its name kept though disabled
  SetFieldText(record.szDefaultName, Utf8ToCp932("太郎"));
  record.nLogMode = record.bLogSizeLimit = 1;
  SetFieldText(record.szLogFile, Utf8ToCp932("/tmp/ログ.txt"));
  SetFieldText(record.szLogSizeKB, "7");
  record.crText = 0x00123456;
  record.crBack = 0x00FEDCBA;
  SettingsRecord stored{};
  for (const PageFactory make : {Make<CPage1>, Make<CPage2>, Make<CPage3>, Make<CLogPage>, Make<CColorPage>}) {
    const auto shown = make();
    shown->Load(seed);
    shown->Store(stored);
  }
  record.szPhrase[3][31] = '\0';  // a full field gets its terminating zero back
  const auto* left = reinterpret_cast<const char*>(&stored);
  const auto* right = reinterpret_cast<const char*>(&record);
  const std::ptrdiff_t at = std::mismatch(left, left + sizeof stored, right).first - left;
  EXPECT_EQ(at, std::ptrdiff_t{sizeof stored});  // else at names the field
}

TEST(SettingsPagesTest, FieldsRefuseTextTheirRecordFieldCannotHold) {
  const struct {
    PageFactory make;
    int field, bytes;
  } cases[] = {{Make<CPage2>, page::kPhrase1, 31},     {Make<CPage2>, page::kPhrase1 + 4, 31},
               {Make<CPage3>, page::kDefaultName, 31}, {Make<CLogPage>, page::kLogFile, 299},
               {Make<CLogPage>, page::kLogSize, 31}};
  const QString doubleByte = QStringLiteral("あ");
  for (const auto& c : cases) {
    const auto shown = c.make();
    auto* field = Control<QLineEdit>(*shown, c.field);
    const QString full(c.bytes, 'a');
    TypeAndEnter(field, full);
    QTest::keyClick(field, Qt::Key_Z);
    EXPECT_EQ(field->text(), full) << c.field;
    TypeAndEnter(field, QString(c.bytes - 2, 'a') + doubleByte);
    EXPECT_EQ(field->text(), QString(c.bytes - 2, 'a') + doubleByte) << c.field;
    TypeAndEnter(field, QString(c.bytes - 1, 'a') + doubleByte);
    EXPECT_EQ(field->text(), QString()) << c.field;
  }
}

TEST(SettingsPagesTest, EnablingFollowsTheChoicesWhenShownAndWhenClicked) {
  const std::vector<int> name = {page::kDefaultNameLabel, page::kDefaultName};
  const std::vector<int> logFile = {page::kLogFile, page::kLogFileLabel, page::kLogSizeLimit, page::kLogBrowse};
  std::vector<int> logAll = logFile;
  logAll.insert(logAll.end(), {page::kLogSize, page::kLogSizeUnit, page::kLogSizeSpin});
  const struct {
    PageFactory make;
    std::int32_t autoLogin, logMode, sizeLimit;
    std::vector<int> clicks;
    bool showAgain;
    const std::vector<int>& watched;
    std::vector<int> enabled;
  } cases[] = {
      {Make<CPage3>, 0, 0, 0, {}, false, name, {}},
      {Make<CPage3>, 0, 0, 0, {page::kAutoLogin}, false, name, name},
      {Make<CPage3>, 1, 0, 0, {page::kAutoLogin}, true, name, {}},
      {Make<CLogPage>, 0, 0, 1, {}, false, logAll, {}},  // a size limit without a log
      {Make<CLogPage>, 0, 2, 1, {}, false, logAll, logAll},  // an unknown mode counts as a log
      {Make<CLogPage>, 0, 1, 1, {page::kLogSizeLimit}, false, logAll, logFile},
      {Make<CLogPage>, 0, 1, 1, {page::kLogOff}, true, logAll, {}},
      {Make<CLogPage>, 0, 0, 0, {page::kLogOn}, false, logAll, logFile},
  };
  for (const auto& c : cases) {
    PageSeed seed{};
    seed.record.bAutoLogin = c.autoLogin;
    seed.record.nLogMode = c.logMode;
    seed.record.bLogSizeLimit = c.sizeLimit;
    const auto shown = c.make();
    shown->Load(seed);
    shown->show();
    for (int id : c.clicks) Control<QAbstractButton>(*shown, id)->click();
    if (c.showAgain) shown->hide(), shown->show();
    for (int id : c.watched)
      EXPECT_EQ(Control(*shown, id)->isEnabled(), std::ranges::count(c.enabled, id) == 1) << &c - cases << ": " << id;
  }
}

TEST(SettingsPagesTest, LogSizeFieldShowsTheLimitInForceAndItsArrowsStepFromWhatIsTyped) {
  const struct {
    std::int32_t limit;
    QString shown, afterKey;
    Qt::Key key;
  } cases[] = {{5, "5", "6", Qt::Key_Up}, {-1, "1", "1", Qt::Key_Down}, {12, "10", "10", Qt::Key_Up}};  // range 1..10
  for (const auto& c : cases) {
    PageSeed seed{};
    seed.record.nLogMode = seed.record.bLogSizeLimit = 1;
    SetFieldText(seed.record.szLogSizeKB, "abc");
    seed.logSizeLimitKB = c.limit;
    CLogPage logPage;
    logPage.Load(seed);
    auto* field = Control<QLineEdit>(logPage, page::kLogSize);
    EXPECT_EQ(field->text(), c.shown);
    QTest::keyClick(field, c.key);
    EXPECT_EQ(field->text(), c.afterKey) << c.limit;
    TypeAndEnter(field, "7");
    Control(logPage, page::kLogSizeSpin)->findChildren<QToolButton*>().front()->click();  // up
    EXPECT_EQ(field->text(), "8");
  }
}

TEST(SettingsPagesTest, ChoosersChangeAValueOnlyWhenConfirmed) {
  struct Reset {  // the real choosers come back however the test ends
    ~Reset() { SetFileChooser({}), SetColourChooser({}); }
  } reset;
  std::optional<QString> file;
  SetFileChooser([&](QWidget*, const QString&) { return file; });
  PageSeed seed{};
  seed.record.nLogMode = 1;
  SetFieldText(seed.record.szLogFile, "/old.txt");
  CLogPage logPage;
  logPage.Load(seed);
  for (const auto& [answer, stored] : {std::pair<std::optional<QString>, std::string>{std::nullopt, "/old.txt"},
                                       {QStringLiteral("/home/taro/ログ.txt"), Utf8ToCp932("/home/taro/ログ.txt")}}) {
    file = answer;
    Control<QAbstractButton>(logPage, page::kLogBrowse)->click();
    EXPECT_EQ(FieldText(Stored(logPage).szLogFile), stored);
  }

  // The text colour: kept when the choice is cancelled; the background untouched by it.
  std::optional<QColor> colour;
  QColor preselected;
  SetColourChooser([&](QWidget*, const QColor& initial) {
    preselected = initial;
    return colour;
  });
  seed.record.crText = 0x00000080;
  seed.record.crBack = 0x00C0FFEE;
  CColorPage colourPage;
  colourPage.Load(seed);
  Control<QAbstractButton>(colourPage, page::kTextColour)->click();
  EXPECT_EQ(preselected, FromColorRef(0x00000080));
  EXPECT_EQ(Stored(colourPage).crText, 0x00000080u);
  colour = QColor(0x12, 0x34, 0x56);
  Control<QAbstractButton>(colourPage, page::kTextColour)->click();
  EXPECT_EQ(Stored(colourPage).crText, 0x00563412u);
  EXPECT_EQ(Stored(colourPage).crBack, 0x00C0FFEEu);
  EXPECT_EQ(Control(colourPage, page::kColourSample)->palette().color(QPalette::WindowText), *colour);
}

}  // namespace
}  // namespace korvane
