// SPDX-License-Identifier: MIT
// Settings pages alone, without their dialog, and the dialog builder under them: what they
// collect, which controls they enable, and the choosers and dialogs they open (answered here,
// never shown); then the address dialog itself.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cstring>

#include "display/CMemberList.h"
#include "platform/Choosers.h"
#include "platform/CodePage.h"
#include "resources/AddressTemplates.h"
#include "tests/support/Controls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "window/CAddressDlg.h"
#include "window/COutDomainPage.h"
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
  for (const auto& [shown, id, before, entered, box] : cases) {
    const std::size_t told = boxes.Boxes().size();
    auto* field = Control<QLineEdit>(*shown, id);
    field->setText(before);
    QInputMethodEvent commit;
    commit.setCommitString(entered);
    QApplication::sendEvent(field, &commit);
    EXPECT_EQ(field->text(), box ? before : before + entered) << entered.toStdString();
    ASSERT_EQ(boxes.Boxes().size(), told + (box ? 1 : 0)) << entered.toStdString();  // one box a refusal
    EXPECT_EQ(box ? boxes.Boxes().back().text : "", box ? box : "");
  }
}

// Shown with automatic login off, with no log or with an unknown log mode (a log); then the
// other log choice clicked.
TEST(SettingsPagesTest, EnablingFollowsTheChoicesWhenShown) {
  CPage3 startup;
  startup.Load(PageSeed{});
  startup.show();
  EXPECT_FALSE(Control(startup, page::kDefaultName)->isEnabled());
  for (const std::int32_t mode : {0, 2}) {
    CLogPage log;
    log.Load(PageSeed{{.nLogMode = mode, .bLogSizeLimit = 1}});
    log.show();
    for (const bool clicked : {false, true}) {
      if (clicked) Control<QAbstractButton>(log, mode == 0 ? page::kLogOn : page::kLogOff)->click();
      for (const int id : {page::kLogFile, page::kLogBrowse, page::kLogSizeLimit, page::kLogSize, page::kLogSizeSpin})
        EXPECT_EQ(Control(log, id)->isEnabled(), (mode == 2) != clicked) << mode << ": " << id;
    }
  }
}

// The stored size shown as it stands; the arrows step, within 1..10, from the number typed, and
// what they show is stored; a file name is taken when chosen, and when its field could hold it;
// untouched, the record keeps its own.
TEST(SettingsPagesTest, ArrowsAndChoosersChangeAValueOnlyWhenConfirmed) {
  PageSeed seed{{.nLogMode = 1, .szLogFile = "/old.txt", .bLogSizeLimit = 1, .szLogSizeKB = "100"}};
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
  for (const auto& [chosen, kept] : {std::pair<std::optional<QString>, const char*>{std::nullopt, ""},
                                     {"/café.txt", ""}, {"/chosen.txt", "/chosen.txt"}}) {
    SetFileChooser([chosen](QWidget*, const QString&) { return chosen; });
    Control<QAbstractButton>(logPage, page::kLogBrowse)->click();
    logPage.Store(stored);
    EXPECT_EQ(FieldText(stored.szLogFile), kept);
  }
  EXPECT_EQ(FieldText(stored.szLogSizeKB), "8");

  // The text colour chosen, the background untouched by it.
  const QColor colour(0x12, 0x34, 0x56);
  SetColourChooser([&](QWidget*, const QColor&) { return colour; });
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
  const BuiltControls built =
      BuildDialog(dialog, {"", 100, 60, kControls}, [](const ControlTemplate&) -> QWidget* { return nullptr; });
  built.Get<QRadioButton>(4)->click();
  built.Get<QRadioButton>(1)->click();
  EXPECT_EQ(built.Get<QRadioButton>(4)->group()->checkedId(), 1);  // still checked, counted in its own group
}

using Texts = std::vector<std::string>;  // UTF-8

AddressEntry Entry(const char* name, OctetTexts octets) { return {Utf8ToCp932(name), std::move(octets)}; }

class COutDomainPageTest : public testing::Test {
 protected:
  void Load(std::int32_t mode, const Texts& rows) {  // rows: "address name"
    PageSeed seed{{.nOutDomainMode = mode, .nAddrCount = static_cast<std::int32_t>(rows.size())}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string row = Utf8ToCp932(rows[i]);
      SetFieldText(seed.record.szAddrIP[i], row.substr(0, row.find(' ')));
      SetFieldText(seed.record.szAddrName[i], row.substr(row.find(' ') + 1));
    }
    page.Load(seed);
    page.show();
  }
  CMemberList& List() { return *Control<CMemberList>(page, id::kAddrList); }
  void Click(int id) { QTest::mouseClick(Control(page, id), Qt::LeftButton); }
  void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
    const QPoint middle = List().visualItemRect(List().topLevelItem(row)).center();
    QTest::mouseClick(List().viewport(), Qt::LeftButton, keys, middle);
  }
  // The list's background; enabled (+) or not: the list, 追加, 更新, 削除; rows selected;
  // the choice the page would store.
  std::string State() {
    std::string state = List().palette().color(QPalette::Base).name().toStdString() + " ";
    for (const int id : {id::kAddrList, id::kAddrAdd, id::kAddrUpdate, id::kAddrDelete})
      state += Control(page, id)->isEnabled() ? '+' : '-';
    SettingsRecord record;
    page.Store(record);
    return state + " " + std::to_string(List().selectedItems().size()) + " " + std::to_string(record.nOutDomainMode);
  }

  test::MessageBoxRecorder recorder;
  COutDomainPage page;
};

// Add reopens with the refused texts and appends the address normalised, and refuses a
// hundred and first before the dialog opens; update shows the row and takes any valid
// address, another row's too; the buttons follow the choice and the clicks on the list.
TEST_F(COutDomainPageTest, AddUpdateDeleteAndTheChoice) {
  Load(0, {"10.0.0.12 本社", "10.0.0.3 c"});
  EXPECT_EQ(State(), "#c0c0c0 ---- 0 0");
  Click(id::kOutDomainOn);
  EXPECT_EQ(State(), "#ffffff ++-- 0 1");
  const AddressEntry missing = Entry("支店", {"10", "", "0", "x"}), invalid = Entry("支店", {"10", "0", "0", "x"}),
                     taken = Entry("支店", {"010", "0", "0", "012"});
  // The dialog gives these answers in turn, then is cancelled.
  const std::vector<std::optional<AddressEntry>> answers{
      missing, invalid, taken, Entry("支店", {"010", "0", "0", "001"}), Entry("支店2", {"10", "0", "0", "12"})};
  std::vector<AddressEntry> opened;  // the texts of every opening of the dialog
  page.SetAddressDlgOpener([&](const AddressEntry& texts) {
    opened.push_back(texts);
    return opened.size() <= answers.size() ? answers[opened.size() - 1] : std::nullopt;
  });
  Click(id::kAddrAdd);
  ClickRow(2);
  ClickRow(2, Qt::ControlModifier);  // nothing selected, the buttons stay on
  EXPECT_EQ(State(), "#ffffff ++++ 0 1");
  Click(id::kAddrUpdate);
  ClickRow(2);
  Click(id::kAddrUpdate);
  EXPECT_EQ(State(), "#ffffff ++-- 0 1");
  ClickRow(1);
  Click(id::kAddrDelete);
  EXPECT_EQ(State(), "#ffffff ++-- 0 1");
  ClickRow(1);
  Click(id::kOutDomainOff);
  EXPECT_EQ(State(), "#c0c0c0 ---- 0 0");
  Texts rows;
  for (int row = 0; row < List().RowCount(); ++row)
    rows.push_back(Cp932ToUtf8(List().RowText(row, 0) + " " + List().RowText(row, 1)));
  EXPECT_EQ(rows, (Texts{"10.0.0.12 本社", "10.0.0.12 支店2"}));
  Load(1, Texts(kMaxOutDomainAddrs - 2, "10.0.0.1 n"));  // with the two listed: a hundred
  EXPECT_EQ(State(), "#ffffff ++-- 0 1");
  Click(id::kAddrAdd);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{{}, missing, invalid, taken, Entry("支店", {"10", "0", "0", "1"})}));
  Texts boxes;
  for (const auto& box : recorder.Boxes()) boxes.push_back(box.text);
  EXPECT_EQ(boxes, (Texts{text::kAddressMissing, text::kAddressInvalid, text::kAddressTaken, text::kNothingToUpdate,
                          text::kAddressListFull}));
}

// In the order added (a header click sorts nothing), within their fields (a name cut before a
// character its field cannot end with, a single-byte one filling its field), whatever the choice.
TEST_F(COutDomainPageTest, StoreWritesTheRowsInOrder) {
  const std::string fiftyBytes = QString(25, QChar(0x3042)).toStdString();
  Load(7, {"10.0.0.2 " + fiftyBytes, "10.0.0.1 " + std::string(49, 'a')});  // 7 checks neither button
  EXPECT_EQ(State(), "#ffffff ++-- 0 -1");
  QHeaderView& header = *List().header();
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, {header.sectionViewportPosition(0) + 5, 5});
  SettingsRecord record;
  std::memset(static_cast<void*>(&record), 'q', sizeof record);
  page.Store(record);
  EXPECT_EQ(FieldText(record.szAddrIP[0]) + FieldText(record.szAddrName[1]), "10.0.0.2" + std::string(49, 'a'));
  EXPECT_EQ(std::string(record.szAddrName[0], 50), Utf8ToCp932(fiftyBytes).substr(0, 48) + std::string(2, '\0'));
  EXPECT_EQ(std::string(record.szAddrIP[99], 16) + std::string(record.szAddrName[2], 50), std::string(66, '\0'));
}

TEST(CAddressDlgTest, ShowsItsTextsAndOnlyAClickOnRegisterConfirms) {
  const AddressEntry texts = Entry("本社", {"10", "0", "0", "1"});
  CAddressDlg dialog(texts);
  auto* name = Control<QLineEdit>(dialog, id::kAddressName);
  EXPECT_EQ(dialog.focusWidget(), name);
  EXPECT_EQ(dialog.Texts(), texts);
  dialog.show();
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  name->clear();
  QTest::keyClicks(name, QString(50, 'n'));
  QTest::mouseClick(Control(dialog, id::kAddressRegister), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts(), (AddressEntry{std::string(49, 'n'), {"10", "0", "0", "1"}}));
}

}  // namespace
}  // namespace korvane
