#include "window/COutDomainPage.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "display/CMemberList.h"
#include "resources/AddressTemplates.h"
#include "tests/support/Controls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "window/CAddressDlg.h"

namespace korvane {
namespace {

using test::Control;
using Texts = std::vector<std::string>;  // UTF-8

AddressEntry Entry(const char* name, OctetTexts octets) { return {Utf8ToCp932(name), std::move(octets)}; }

class COutDomainPageTest : public testing::Test {
 protected:
  // The dialog gives the answers in turn, then is cancelled.
  COutDomainPageTest() {
    page.SetAddressDlgOpener([this](const AddressEntry& texts) {
      opened.push_back(texts);
      return opened.size() <= answers.size() ? answers[opened.size() - 1] : std::nullopt;
    });
  }

  void Load(std::int32_t mode, const Texts& rows) {  // rows: "address name"
    PageSeed seed{};
    seed.record.nOutDomainMode = mode;
    seed.record.nAddrCount = static_cast<std::int32_t>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string row = Utf8ToCp932(rows[i]), ip = row.substr(0, row.find(' '));
      ip.copy(seed.record.szAddrIP[i], ip.size());
      row.copy(seed.record.szAddrName[i], row.size() - ip.size() - 1, ip.size() + 1);
    }
    page.Load(seed);
    page.show();
  }

  CMemberList& List() { return *Control<CMemberList>(page, id::kAddrList); }
  Texts Shown() {
    Texts rows;
    for (int row = 0; row < List().RowCount(); ++row)
      rows.push_back(Cp932ToUtf8(List().RowText(row, 0) + " " + List().RowText(row, 1)));
    return rows;
  }
  void Click(int id) { QTest::mouseClick(Control(page, id), Qt::LeftButton); }
  void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
    const QPoint middle = List().visualItemRect(List().topLevelItem(row)).center();
    QTest::mouseClick(List().viewport(), Qt::LeftButton, keys, middle);
  }
  Texts Boxes() {
    Texts texts;
    for (const auto& box : recorder.Boxes()) texts.push_back(box.text + (box.style == MB_ICONEXCLAMATION ? "" : " (style)"));
    return texts;
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
  std::vector<std::optional<AddressEntry>> answers;
  std::vector<AddressEntry> opened;  // the texts of every opening of the dialog
};

TEST_F(COutDomainPageTest, AddReopensWithTheRefusedTextsAndAppendsTheAddressNormalised) {
  Load(1, {"10.0.0.12 本社"});
  const AddressEntry missing = Entry("支店", {"10", "", "0", "x"}), invalid = Entry("支店", {"10", "0", "0", "x"}),
                     taken = Entry("支店", {"010", "0", "0", "012"}), tooLarge = Entry("", {"1", "1", "1", "256"});
  answers = {missing, invalid, taken, Entry("", {"010", "0", "0", "001"}), tooLarge, std::nullopt};
  Click(id::kAddrAdd);
  Click(id::kAddrAdd);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{{}, missing, invalid, taken, {}, tooLarge}));
  EXPECT_EQ(Boxes(), (Texts{text::kAddressMissing, text::kAddressInvalid, text::kAddressTaken, text::kAddressInvalid}));
  EXPECT_EQ(Shown(), (Texts{"10.0.0.12 本社", "10.0.0.1 "}));
}

TEST_F(COutDomainPageTest, UpdateShowsTheRowAndTakesAnyValidAddressWithoutLookingForDuplicates) {
  Load(1, {"10.0.0.12 本社", "10.0.0.1 支店"});
  ClickRow(1);
  ClickRow(1, Qt::ControlModifier);  // nothing selected, the buttons stay on
  Click(id::kAddrUpdate);
  answers = {Entry("支店2", {"10", "0", "0", "12"}), std::nullopt};
  ClickRow(1);
  Click(id::kAddrUpdate);
  ClickRow(0);
  Click(id::kAddrUpdate);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{Entry("支店", {"10", "0", "0", "1"}),
                                               Entry("本社", {"10", "0", "0", "12"})}));
  EXPECT_EQ(Boxes(), Texts{text::kNothingToUpdate});
  EXPECT_EQ(Shown(), (Texts{"10.0.0.12 本社", "10.0.0.12 支店2"}));
  EXPECT_EQ(State(), "#ffffff ++-- 0 1");
}

TEST_F(COutDomainPageTest, RadioButtonsClicksOnTheListAndDeleteSwitchTheControls) {
  Load(0, {"10.0.0.1 a", "10.0.0.2 b", "10.0.0.3 c"});
  const struct {
    std::function<void()> act;
    const char* state;
  } steps[] = {
      {[] {}, "#c0c0c0 ---- 0 0"},
      {[this] { Click(id::kOutDomainOn); }, "#ffffff ++-- 0 1"},
      {[this] { ClickRow(1); }, "#ffffff ++++ 1 1"},
      {[this] { ClickRow(1, Qt::ControlModifier); }, "#ffffff ++++ 0 1"},
      {[this] { Click(id::kAddrDelete); }, "#ffffff ++-- 0 1"},
      {[this] { ClickRow(1), Click(id::kAddrDelete); }, "#ffffff ++-- 0 1"},
      {[this] { ClickRow(1), Click(id::kOutDomainOn); }, "#ffffff ++++ 1 1"},
      {[this] { Click(id::kOutDomainOff); }, "#c0c0c0 ---- 0 0"},
      {[this] { Click(id::kOutDomainOn); }, "#ffffff ++-- 0 1"},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(State(), step.state);
  }
  EXPECT_EQ(Shown(), (Texts{"10.0.0.1 a", "10.0.0.3 c"}));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(COutDomainPageTest, TheHundredFirstAddressIsRefusedBeforeTheDialogOpens) {
  Load(1, Texts(kMaxOutDomainAddrs, "10.0.0.1 n"));
  Click(id::kAddrAdd);
  EXPECT_EQ(Boxes(), Texts{text::kAddressListFull});
  EXPECT_TRUE(opened.empty());
}

TEST_F(COutDomainPageTest, StoreWritesTheRowsInOrderWithinTheirFieldsWhateverTheChoice) {
  const std::string fiftyBytes = QString(25, QChar(0x3042)).toStdString();
  Load(7, {"1234567890123456 " + fiftyBytes, "10.0.0.2 本社"});  // 7 checks neither button
  EXPECT_EQ(State(), "#ffffff ++-- 0 -1");
  QHeaderView& header = *List().header();
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, {header.sectionViewportPosition(0) + 5, 5});
  Click(id::kOutDomainOff);

  SettingsRecord record;
  std::memset(static_cast<void*>(&record), 'q', sizeof record);
  page.Store(record);
  const auto field = [](const auto& bytes) { return std::string(bytes, sizeof bytes); };
  EXPECT_EQ(record.nOutDomainMode, 0);
  EXPECT_EQ(record.nAddrCount, 2);
  EXPECT_EQ(field(record.szAddrIP[0]), "123456789012345" + std::string(1, '\0'));
  EXPECT_EQ(field(record.szAddrName[0]), Utf8ToCp932(fiftyBytes).substr(0, 48) + std::string(2, '\0'));
  EXPECT_EQ(field(record.szAddrIP[1]) + FieldText(record.szAddrName[1]),
            "10.0.0.2" + std::string(8, '\0') + Utf8ToCp932("本社"));
  EXPECT_EQ(field(record.szAddrIP[99]) + field(record.szAddrName[2]), std::string(66, '\0'));
  EXPECT_EQ(record.bEcho, 0x71717171);  // not the page's
}

TEST(CAddressDlgTest, ShowsItsTextsAndOnlyAClickOnRegisterConfirms) {
  const AddressEntry texts = Entry("本社", {"10", "0", "0", "1"});
  CAddressDlg dialog(texts);
  auto* name = Control<QLineEdit>(dialog, id::kAddressName);
  auto* registerButton = Control<QPushButton>(dialog, id::kAddressRegister);
  EXPECT_EQ(dialog.focusWidget(), name);
  EXPECT_EQ(dialog.Texts(), texts);
  dialog.show();
  QTest::keyClick(name, Qt::Key_Return);
  registerButton->setFocus();
  QTest::keyClick(registerButton, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());

  name->clear();
  QTest::keyClicks(name, QString(50, 'n'));
  QTest::keyClicks(Control<QLineEdit>(dialog, id::kAddressOctet1 + 3), "2345");
  QTest::mouseClick(registerButton, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts(), (AddressEntry{std::string(49, 'n'), {"10", "0", "0", "123"}}));
}

}  // namespace
}  // namespace korvane
