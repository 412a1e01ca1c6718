// The settings dialog on a real main window: what Apply puts in force and writes, what
// closing without it leaves alone.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <filesystem>

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"
#include "window/CSettingsDlg.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

using test::Control;
namespace page = id::page;

class SettingsDlgTest : public testing::Test {
 protected:
  SettingsDlgTest() { window.show(); }

  // The dialog as the settings command opens it.
  std::unique_ptr<CSettingsDlg> Open() {
    PageSeed seed{window.Settings(), window.Log().LogSizeLimitKB()};
    return std::make_unique<CSettingsDlg>(seed, window);
  }
  // The pages have no meta-object of their own, so findChild cannot tell them apart.
  template <typename Page>
  static Page& PageOf(CSettingsDlg& dialog) {
    for (QWidget* child : dialog.findChildren<QWidget*>())
      if (auto* page = dynamic_cast<Page*>(child)) return *page;
    throw std::logic_error("no such page");
  }
  static void Click(CSettingsDlg& dialog, int id) { Control<QPushButton>(dialog, id)->click(); }
  // The log page set to keep a log in name, capped by sizeText when limited.
  static void SetLog(CSettingsDlg& dialog, const std::string& name, bool limited, const char* sizeText) {
    auto& log = PageOf<CLogPage>(dialog);
    Control<QRadioButton>(log, page::kLogOn)->click();
    Control<QLineEdit>(log, page::kLogFile)->setText(QString::fromStdString(name));
    Control<QAbstractButton>(log, page::kLogSizeLimit)->setChecked(limited);
    Control<QLineEdit>(log, page::kLogSize)->setText(QString::fromUtf8(sizeText));
  }
  std::string File() const { return test::ReadBytes(network.folder.Path("TOOLBOX-0")); }

  test::MessageBoxRecorder boxes;
  test::WindowNetwork network{1};
  CChatDlg window{network.OptionsFor(0)};
};

TEST_F(SettingsDlgTest, OnlyApplyWritesAndTheMenuOptionsKeepWhatApplyWrote) {
  const std::string before = File();
  auto dialog = Open();
  Control<QLineEdit>(PageOf<CPage2>(*dialog), page::kPhrase1 + 2)->setText("phrase three");
  dialog->reject();  // Escape or the close box
  EXPECT_EQ(File(), before);
  EXPECT_EQ(FieldText(window.Settings().szPhrase[2]), "");

  dialog = Open();
  Control<QLineEdit>(PageOf<CPage2>(*dialog), page::kPhrase1 + 2)->setText("phrase three");
  window.findChild<QAction*>("actionEcho")->trigger();  // the menu's own options survive Apply
  Click(*dialog, id::kSettingsApply);
  EXPECT_EQ(FieldText(window.Settings().szPhrase[2]), "phrase three");  // read back from the file
  EXPECT_EQ(window.Settings().bEcho, 1);
  EXPECT_EQ(window.Settings().bShowSysMsg, 1);
  window.findChild<QAction*>("actionEcho")->trigger();
  SettingsRecord stored;
  ASSERT_EQ(ReadSettingsFile(stored, network.folder.Path("TOOLBOX-0")), std::nullopt);
  EXPECT_EQ(FieldText(stored.szPhrase[2]), "phrase three");  // and Apply's survive the menu
  EXPECT_EQ(stored.bEcho, 0);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SettingsDlgTest, LoggingNeedsAFileThatOpensAndACapOnlyFromAPositiveNumber) {
  auto dialog = Open();
  const std::string before = File();
  SetLog(*dialog, "", false, "");
  Click(*dialog, id::kSettingsApply);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "[ERROR] 不正なログファイル名です");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONSTOP);
  EXPECT_EQ(File(), before);
  EXPECT_FALSE(window.Log().LogOn());

  struct Cap {
    bool limited;
    const char* text;
    std::int32_t inForce;
  };
  const std::string log = network.LogFile(0);
  for (const Cap cap : {Cap{true, "abc", -1}, {false, "5", -1}, {true, "5", 5}}) {
    SetLog(*dialog, log, cap.limited, cap.text);
    Click(*dialog, id::kSettingsApply);
    EXPECT_TRUE(window.Log().LogOn());
    EXPECT_EQ(window.Log().LogSizeLimitKB(), cap.inForce) << cap.text;
    EXPECT_EQ(FieldText(window.Settings().szLogSizeKB), cap.text);  // stored as typed
  }
  EXPECT_TRUE(std::filesystem::exists(log));  // made by Apply
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

}  // namespace
}  // namespace korvane
