// SPDX-License-Identifier: MIT
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
      const std::string row = Utf8ToCp932(rows[i]);
      SetFieldText(seed.record.szAddrIP[i], row.substr(0, row.find(' ')));
      SetFieldText(seed.record.szAddrName[i], row.substr(row.find(' ') + 1));
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
  answers = {missing, invalid, taken, Entry("支店", {"010", "0", "0", "001"}),
             Entry("支店2", {"10", "0", "0", "12"})};
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
  EXPECT_EQ(Shown(), (Texts{"10.0.0.12 本社", "10.0.0.12 支店2"}));
  Load(1, Texts(kMaxOutDomainAddrs, "10.0.0.1 n"));
  Click(id::kAddrAdd);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{{}, missing, invalid, taken, Entry("支店", {"10", "0", "0", "1"})}));
  Texts boxes;
  for (const auto& box : recorder.Boxes()) boxes.push_back(box.text);
  EXPECT_EQ(boxes, (Texts{text::kAddressMissing, text::kAddressInvalid, text::kAddressTaken, text::kNothingToUpdate,
                          text::kAddressListFull}));
}

// In the order added (a header click sorts nothing), within their fields (a name cut before a
// character its field cannot end with), whatever the choice.
TEST_F(COutDomainPageTest, StoreWritesTheRowsInOrder) {
  const std::string fiftyBytes = QString(25, QChar(0x3042)).toStdString();
  Load(7, {"10.0.0.2 " + fiftyBytes, "10.0.0.1 a"});  // 7 checks neither button
  EXPECT_EQ(State(), "#ffffff ++-- 0 -1");
  QHeaderView& header = *List().header();
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, {header.sectionViewportPosition(0) + 5, 5});
  SettingsRecord record;
  std::memset(static_cast<void*>(&record), 'q', sizeof record);
  page.Store(record);
  EXPECT_EQ(FieldText(record.szAddrIP[0]) + FieldText(record.szAddrName[1]), "10.0.0.2a");
  EXPECT_EQ(std::string(record.szAddrName[0], 50), Utf8ToCp932(fiftyBytes).substr(0, 48) + std::string(2, '\0'));
  EXPECT_EQ(std::string(record.szAddrIP[99], 16) + std::string(record.szAddrName[2], 50), std::string(66, '\0'));
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
  EXPECT_TRUE(dialog.isVisible());
  name->clear();
  QTest::keyClicks(name, QString(50, 'n'));
  QTest::mouseClick(registerButton, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts(), (AddressEntry{std::string(49, 'n'), {"10", "0", "0", "1"}}));
}

}  // namespace
}  // namespace korvane
