// Five settings pages alone, without their dialog: what they show, what they collect, which
// controls they enable, and the choosers they open (answered here, never shown).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QToolButton>
#include <cstring>
#include <memory>

#include "platform/Choosers.h"
#include "platform/QtColour.h"
#include "tests/support/WindowNetwork.h"
#include "window/SettingsPages.h"
#include "window/UpDownControl.h"

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

// Every field set, so that a page storing another page's field is caught.
SettingsRecord Seeded() {
  SettingsRecord record;
  record.nIconAction = 2;
  SetFieldText(record.szPhrase[0], "Hello");
  SetFieldText(record.szPhrase[1], Utf8ToCp932("こんにちは"));
  SetFieldText(record.szPhrase[2], std::string(31, 'x'));
  std::memset(record.szPhrase[3], 'y', sizeof record.szPhrase[3]);  // full, as a file may hold it
  SetFieldText(record.szPhrase[4], Utf8ToCp932("ﾊﾝｶｸ"));
  record.bIconizeAtStart = 1;
  SetFieldText(record.szDefaultName, Utf8ToCp932("太郎"));
  record.nLogMode = 1;
  SetFieldText(record.szLogFile, Utf8ToCp932("/tmp/ログ.txt"));
  record.bLogSizeLimit = 1;
  SetFieldText(record.szLogSizeKB, "7");
  record.crText = 0x00123456;
  record.crBack = 0x00FEDCBA;
  record.nOutDomainMode = 1;
  record.nAddrCount = 1;
  SetFieldText(record.szAddrIP[0], "10.0.0.1");
  record.bShowSysMsg = record.bAutoWrap = record.bEcho = 1;
  return record;
}

// Where two records first differ, -1 when nowhere: the record's offsets name the field.
long FirstDifference(const SettingsRecord& a, const SettingsRecord& b) {
  const auto* left = reinterpret_cast<const char*>(&a);
  const auto* right = reinterpret_cast<const char*>(&b);
  for (std::size_t at = 0; at < sizeof(SettingsRecord); ++at)
    if (left[at] != right[at]) return static_cast<long>(at);
  return -1;
}

class SettingsPagesTest : public testing::Test {
 protected:
  ~SettingsPagesTest() override {
    SetFileChooser({});
    SetColourChooser({});
  }
  static SettingsRecord Stored(const SettingsPage& page) {
    SettingsRecord record{};
    page.Store(record);
    return record;
  }
};

TEST_F(SettingsPagesTest, StoreGivesBackWhatLoadShowedAndNoOtherField) {
  using Own = void (*)(const SettingsRecord& from, SettingsRecord& to);
  struct Case {
    const char* page;
    PageFactory make;
    Own own;
    std::vector<int> checked;
  };
  const Case cases[] = {
      {"CPage1", Make<CPage1>, [](const SettingsRecord& from, SettingsRecord& to) { to.nIconAction = from.nIconAction; },
       {page::kIconBlink}},
      {"CPage2", Make<CPage2>,
       [](const SettingsRecord& from, SettingsRecord& to) {
         std::memcpy(to.szPhrase, from.szPhrase, sizeof to.szPhrase);
         to.szPhrase[3][31] = '\0';  // a full field gets its terminating zero back
       },
       {}},
      {"CPage3", Make<CPage3>,
       [](const SettingsRecord& from, SettingsRecord& to) {
         to.bIconizeAtStart = from.bIconizeAtStart;
         to.bAutoLogin = from.bAutoLogin;
         std::memcpy(to.szDefaultName, from.szDefaultName, sizeof to.szDefaultName);  // though disabled
       },
       {page::kIconiseAtStart}},
      {"CLogPage", Make<CLogPage>,
       [](const SettingsRecord& from, SettingsRecord& to) {
         to.nLogMode = from.nLogMode;
         std::memcpy(to.szLogFile, from.szLogFile, sizeof to.szLogFile);
         to.bLogSizeLimit = from.bLogSizeLimit;
         std::memcpy(to.szLogSizeKB, from.szLogSizeKB, sizeof to.szLogSizeKB);
       },
       {page::kLogOn, page::kLogSizeLimit}},
      {"CColorPage", Make<CColorPage>,
       [](const SettingsRecord& from, SettingsRecord& to) {
         to.crText = from.crText;
         to.crBack = from.crBack;
       },
       {}},
  };
  const PageSeed seed{Seeded(), 7};
  for (const Case& c : cases) {
    auto shown = c.make();
    shown->Load(seed);
    for (int id : c.checked) EXPECT_TRUE(Control<QAbstractButton>(*shown, id)->isChecked()) << c.page << " " << id;
    SettingsRecord expected{};
    c.own(seed.record, expected);
    EXPECT_EQ(FirstDifference(Stored(*shown), expected), -1) << c.page;
  }
}

TEST_F(SettingsPagesTest, FieldsRefuseTextTheirRecordFieldCannotHold) {
  struct Case {
    PageFactory make;
    int field;
    int bytes;
  };
  const Case cases[] = {
      {Make<CPage2>, page::kPhrase1, 31},     {Make<CPage2>, page::kPhrase1 + 4, 31},
      {Make<CPage3>, page::kDefaultName, 31}, {Make<CLogPage>, page::kLogFile, 299},
      {Make<CLogPage>, page::kLogSize, 31},
  };
  const QString doubleByte = QStringLiteral("あ");
  for (const Case& c : cases) {
    auto shown = c.make();
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

TEST_F(SettingsPagesTest, EnablingFollowsTheChoicesWhenShownAndWhenClicked) {
  const std::vector<int> name = {page::kDefaultNameLabel, page::kDefaultName};
  const std::vector<int> logFile = {page::kLogFile, page::kLogFileLabel, page::kLogSizeLimit, page::kLogBrowse};
  std::vector<int> logAll = logFile;
  logAll.insert(logAll.end(), {page::kLogSize, page::kLogSizeUnit, page::kLogSizeSpin});
  struct Case {
    const char* what;
    PageFactory make;
    std::int32_t SettingsRecord::*choice;
    std::int32_t value;
    std::int32_t sizeLimit;
    std::vector<int> clicks;
    bool showAgain;
    const std::vector<int>& watched;
    std::vector<int> enabled;
  };
  const Case cases[] = {
      {"automatic login off", Make<CPage3>, &SettingsRecord::bAutoLogin, 0, 0, {}, false, name, {}},
      {"automatic login on", Make<CPage3>, &SettingsRecord::bAutoLogin, 1, 0, {}, false, name, name},
      {"automatic login checked", Make<CPage3>, &SettingsRecord::bAutoLogin, 0, 0, {page::kAutoLogin}, false, name, name},
      {"automatic login cleared, page shown again", Make<CPage3>, &SettingsRecord::bAutoLogin, 1, 0,
       {page::kAutoLogin}, true, name, {}},
      {"checked again, page shown again", Make<CPage3>, &SettingsRecord::bAutoLogin, 1, 0,
       {page::kAutoLogin, page::kAutoLogin}, true, name, name},
      {"no log, even with a size limit", Make<CLogPage>, &SettingsRecord::nLogMode, 0, 1, {}, false, logAll, {}},
      {"log without a size limit", Make<CLogPage>, &SettingsRecord::nLogMode, 1, 0, {}, false, logAll, logFile},
      {"log with a size limit", Make<CLogPage>, &SettingsRecord::nLogMode, 1, 1, {}, false, logAll, logAll},
      {"unknown log mode counts as a log", Make<CLogPage>, &SettingsRecord::nLogMode, 2, 1, {}, false, logAll, logAll},
      {"size limit checked", Make<CLogPage>, &SettingsRecord::nLogMode, 1, 0, {page::kLogSizeLimit}, false, logAll,
       logAll},
      {"size limit cleared", Make<CLogPage>, &SettingsRecord::nLogMode, 1, 1, {page::kLogSizeLimit}, false, logAll,
       logFile},
      {"no log clicked, page shown again", Make<CLogPage>, &SettingsRecord::nLogMode, 1, 1, {page::kLogOff}, true,
       logAll, {}},
      {"log clicked", Make<CLogPage>, &SettingsRecord::nLogMode, 0, 0, {page::kLogOn}, false, logAll, logFile},
  };
  for (const Case& c : cases) {
    PageSeed seed{};
    seed.record.*c.choice = c.value;
    seed.record.bLogSizeLimit = c.sizeLimit;
    auto shown = c.make();
    shown->Load(seed);
    shown->show();
    for (int id : c.clicks) Control<QAbstractButton>(*shown, id)->click();
    if (c.showAgain) {
      shown->hide();
      shown->show();
    }
    for (int id : c.watched)
      EXPECT_EQ(Control(*shown, id)->isEnabled(), std::ranges::count(c.enabled, id) == 1) << c.what << ": " << id;
  }
}

TEST_F(SettingsPagesTest, LogSizeFieldShowsTheLimitInForceAndKeepsWhatIsTyped) {
  struct Case {
    std::int32_t limit;
    QString shown;
    Qt::Key key;
    QString afterKey;
  };
  const Case cases[] = {
      {5, "5", Qt::Key_Up, "6"},
      {-1, "1", Qt::Key_Down, "1"},  // no limit: the arrows keep to their range
      {12, "10", Qt::Key_Up, "10"},
  };
  for (const Case& c : cases) {
    PageSeed seed{};
    seed.record.nLogMode = 1;
    seed.record.bLogSizeLimit = 1;
    SetFieldText(seed.record.szLogSizeKB, "abc");
    seed.logSizeLimitKB = c.limit;
    CLogPage logPage;
    logPage.Load(seed);
    auto* field = Control<QLineEdit>(logPage, page::kLogSize);
    EXPECT_EQ(field->text(), c.shown);
    QTest::keyClick(field, c.key);
    EXPECT_EQ(field->text(), c.afterKey) << c.limit;
  }

  CLogPage logPage;
  auto* field = Control<QLineEdit>(logPage, page::kLogSize);
  TypeAndEnter(field, "7");
  Control(logPage, page::kLogSizeSpin)->findChildren<QToolButton*>().front()->click();  // up
  EXPECT_EQ(field->text(), "8");
  for (const char* typed : {"0", "abc", ""}) {
    TypeAndEnter(field, typed);
    EXPECT_EQ(FieldText(Stored(logPage).szLogSizeKB), typed);
  }
}

TEST_F(SettingsPagesTest, ChoosersChangeAValueOnlyWhenConfirmed) {
  std::optional<QString> file;
  QString filterOffered;
  SetFileChooser([&](QWidget*, const QString& filter) {
    filterOffered = filter;
    return file;
  });
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
    EXPECT_EQ(Stored(logPage).nLogMode, 1);
  }
  EXPECT_EQ(filterOffered, "Text Files (*.txt);;All Files (*)");

  std::optional<QColor> colour;
  QColor preselected;
  SetColourChooser([&](QWidget*, const QColor& initial) {
    preselected = initial;
    return colour;
  });
  struct Case {
    int button;
    std::uint32_t SettingsRecord::*field;
    QPalette::ColorRole sample;
  };
  for (const Case& c : {Case{page::kTextColour, &SettingsRecord::crText, QPalette::WindowText},
                        Case{page::kBackColour, &SettingsRecord::crBack, QPalette::Window}}) {
    seed.record.crText = 0x00000080;
    seed.record.crBack = 0x00C0FFEE;
    CColorPage colourPage;
    colourPage.Load(seed);
    const std::uint32_t before = seed.record.*c.field;
    colour = std::nullopt;
    Control<QAbstractButton>(colourPage, c.button)->click();
    EXPECT_EQ(preselected, FromColorRef(before));
    EXPECT_EQ(Stored(colourPage).*c.field, before);
    colour = QColor(0x12, 0x34, 0x56);
    Control<QAbstractButton>(colourPage, c.button)->click();
    EXPECT_EQ(Stored(colourPage).*c.field, 0x00563412u);
    EXPECT_EQ(Control(colourPage, page::kColourSample)->palette().color(c.sample), *colour);
  }
}

}  // namespace
}  // namespace korvane
