#include "window/COutDomainPage.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "display/CMemberList.h"
#include "resources/AddressTemplates.h"
#include "tests/support/MessageBoxRecorder.h"
#include "window/CAddressDlg.h"

namespace korvane {
namespace {

using Rows = std::vector<std::string>;  // "address name", UTF-8

template <typename T = QWidget>
T* Control(QWidget& parent, int id) {
  for (QWidget* child : parent.findChildren<QWidget*>())
    if (child->property(id::kControlIdProperty).toInt() == id) return qobject_cast<T*>(child);
  return nullptr;
}

AddressEntry Entry(const char* name, OctetTexts octets) { return {Utf8ToCp932(name), std::move(octets)}; }

class COutDomainPageTest : public testing::Test {
 protected:
  // The dialog is replaced by answers given in turn; when they run out it is cancelled.
  COutDomainPageTest() {
    page.SetAddressDlgOpener([this](const AddressEntry& texts) {
      opened.push_back(texts);
      std::optional<AddressEntry> answer;
      if (!answers.empty()) answer = answers.front(), answers.erase(answers.begin());
      return answer;
    });
  }

  // Rows given as "address name".
  void Load(std::int32_t mode, const Rows& rows) {
    PageSeed seed{};
    seed.record.nOutDomainMode = mode;
    seed.record.nAddrCount = static_cast<std::int32_t>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string row = Utf8ToCp932(rows[i]), ip = row.substr(0, row.find(' '));
      std::memcpy(seed.record.szAddrIP[i], ip.data(), ip.size());
      std::memcpy(seed.record.szAddrName[i], row.data() + ip.size() + 1, row.size() - ip.size() - 1);
    }
    page.Load(seed);
    page.show();
  }

  CMemberList& List() { return *Control<CMemberList>(page, id::kAddrList); }
  Rows Shown() {
    Rows rows;
    for (int row = 0; row < List().RowCount(); ++row)
      rows.push_back(Cp932ToUtf8(List().RowText(row, 0) + " " + List().RowText(row, 1)));
    return rows;
  }
  void Click(int id) { QTest::mouseClick(Control(page, id), Qt::LeftButton); }
  void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(List().viewport(), Qt::LeftButton, keys, List().visualItemRect(List().topLevelItem(row)).center());
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& box : recorder.Boxes())
      texts.push_back(box.text + (box.style == MB_ICONEXCLAMATION ? "" : " (not an exclamation box)"));
    return texts;
  }
  // The controls' states and the choice the page would store.
  std::string State() {
    const auto on = [this](int id) { return Control(page, id)->isEnabled() ? '+' : '-'; };
    SettingsRecord record;
    page.Store(record);
    return std::string("list") + on(id::kAddrList) + List().palette().color(QPalette::Base).name().toStdString() +
           " add" + on(id::kAddrAdd) + " update" + on(id::kAddrUpdate) + " delete" + on(id::kAddrDelete) +
           " selected:" + std::to_string(List().selectedItems().size()) + " mode:" + std::to_string(record.nOutDomainMode);
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
  answers = {missing, invalid, taken, Entry("", {"010", "0", "0", "001"})};
  Click(id::kAddrAdd);
  answers = {tooLarge};  // and then cancelled
  Click(id::kAddrAdd);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{{}, missing, invalid, taken, {}, tooLarge}));
  EXPECT_EQ(Boxes(), (std::vector<std::string>{text::kAddressMissing, text::kAddressInvalid, text::kAddressTaken,
                                               text::kAddressInvalid}));
  EXPECT_EQ(Shown(), (Rows{"10.0.0.12 本社", "10.0.0.1 "}));
}

TEST_F(COutDomainPageTest, UpdateShowsTheRowAndTakesAnyValidAddressWithoutLookingForDuplicates) {
  Load(1, {"10.0.0.12 本社", "10.0.0.1 支店"});
  ClickRow(1);
  ClickRow(1, Qt::ControlModifier);  // nothing selected, the buttons stay on
  Click(id::kAddrUpdate);
  EXPECT_EQ(Boxes(), std::vector<std::string>{text::kNothingToUpdate});
  EXPECT_TRUE(opened.empty());

  ClickRow(1);
  answers = {Entry("支店2", {"10", "0", "0", "12"})};
  Click(id::kAddrUpdate);
  ClickRow(0);
  const AddressEntry refused = Entry("x", {"0", "0", "0", "1"});
  answers = {refused};  // and then cancelled
  Click(id::kAddrUpdate);
  EXPECT_EQ(opened, (std::vector<AddressEntry>{Entry("支店", {"10", "0", "0", "1"}),
                                               Entry("本社", {"10", "0", "0", "12"}), refused}));
  EXPECT_EQ(Shown(), (Rows{"10.0.0.12 本社", "10.0.0.12 支店2"}));
  EXPECT_EQ(State(), "list+#ffffff add+ update- delete- selected:0 mode:1");
}

TEST_F(COutDomainPageTest, DeleteRemovesTheFirstSelectedRowWithoutAsking) {
  Load(1, {"10.0.0.1 a", "10.0.0.2 b", "10.0.0.3 c"});
  ClickRow(1);
  ClickRow(1, Qt::ControlModifier);
  Click(id::kAddrDelete);
  EXPECT_EQ(State(), "list+#ffffff add+ update- delete- selected:0 mode:1");
  ClickRow(1);
  Click(id::kAddrDelete);
  EXPECT_EQ(Shown(), (Rows{"10.0.0.1 a", "10.0.0.3 c"}));
  EXPECT_EQ(State(), "list+#ffffff add+ update- delete- selected:0 mode:1");
  EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(COutDomainPageTest, RadioButtonsAndClicksOnTheListSwitchTheControls) {
  Load(0, {"10.0.0.1 a", "10.0.0.2 b"});
  const struct {
    std::function<void()> act;
    const char* state;
  } steps[] = {
      {[] {}, "list-#c0c0c0 add- update- delete- selected:0 mode:0"},
      {[this] { Click(id::kOutDomainOn); }, "list+#ffffff add+ update- delete- selected:0 mode:1"},
      {[this] { ClickRow(1); }, "list+#ffffff add+ update+ delete+ selected:1 mode:1"},
      {[this] { Click(id::kOutDomainOn); }, "list+#ffffff add+ update+ delete+ selected:1 mode:1"},
      {[this] { Click(id::kOutDomainOff); }, "list-#c0c0c0 add- update- delete- selected:0 mode:0"},
      {[this] { Click(id::kOutDomainOn); }, "list+#ffffff add+ update- delete- selected:0 mode:1"},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(State(), step.state);
  }
  EXPECT_EQ(List().RowCount(), 2);
}

TEST_F(COutDomainPageTest, TheHundredFirstAddressIsRefusedBeforeTheDialogOpens) {
  Rows rows;
  for (int i = 0; i < kMaxOutDomainAddrs; ++i) rows.push_back("10.0.1." + std::to_string(i) + " n");
  Load(1, rows);
  Click(id::kAddrAdd);
  EXPECT_EQ(Boxes(), std::vector<std::string>{text::kAddressListFull});
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(List().RowCount(), kMaxOutDomainAddrs);
}

template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return std::string(field, N);
}

TEST_F(COutDomainPageTest, StoreWritesTheRowsInOrderWithinTheirFieldsWhateverTheChoice) {
  std::string fiftyBytes;
  for (int i = 0; i < 25; ++i) fiftyBytes += "あ";
  Load(7, {"1234567890123456 " + fiftyBytes, "10.0.0.2 本社"});  // 7 checks neither button
  EXPECT_EQ(State(), "list+#ffffff add+ update- delete- selected:0 mode:-1");
  QHeaderView& header = *List().header();
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, {header.sectionViewportPosition(0) + 5, header.height() / 2});
  Click(id::kOutDomainOff);

  SettingsRecord record;
  std::memset(static_cast<void*>(&record), 'q', sizeof record);
  page.Store(record);
  EXPECT_EQ(record.nOutDomainMode, 0);
  EXPECT_EQ(record.nAddrCount, 2);
  EXPECT_EQ(Field(record.szAddrIP[0]), "123456789012345" + std::string(1, '\0'));
  EXPECT_EQ(Field(record.szAddrName[0]), Utf8ToCp932(fiftyBytes).substr(0, 48) + std::string(2, '\0'));
  EXPECT_EQ(Field(record.szAddrIP[1]), "10.0.0.2" + std::string(8, '\0'));
  EXPECT_EQ(FieldText(record.szAddrName[1]), Utf8ToCp932("本社"));
  EXPECT_EQ(Field(record.szAddrIP[99]) + Field(record.szAddrName[2]), std::string(66, '\0'));
  EXPECT_EQ(record.bEcho, 0x71717171);  // not the page's
}

TEST(CAddressDlgTest, ShowsItsTextsAndOnlyAClickOnRegisterConfirms) {
  const AddressEntry texts = Entry("本社", {"10", "0", "0", "1"});
  CAddressDlg dialog(texts);
  auto* name = Control<QLineEdit>(dialog, id::kAddressName);
  EXPECT_EQ(dialog.focusWidget(), name);
  EXPECT_EQ(dialog.Texts(), texts);
  dialog.show();
  QTest::keyClick(name, Qt::Key_Return);
  auto* registerButton = Control<QPushButton>(dialog, id::kAddressRegister);
  registerButton->setFocus();
  QTest::keyClick(registerButton, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());

  name->clear();
  QTest::keyClicks(name, QString(50, 'n'));
  QTest::keyClicks(Control<QLineEdit>(dialog, id::kAddressOctet1 + 3), "2345");
  QTest::mouseClick(registerButton, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Texts(), (AddressEntry{std::string(49, 'n'), {"10", "0", "0", "123"}}));

  CAddressDlg cancelled(texts);
  cancelled.show();
  QTest::keyClick(&cancelled, Qt::Key_Escape);
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_FALSE(cancelled.isVisible());
}

}  // namespace
}  // namespace korvane
