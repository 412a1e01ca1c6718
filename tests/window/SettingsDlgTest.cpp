// The settings dialog on a real main window: what Apply puts in force and writes, what
// closing without it leaves alone.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"
#include "window/CSettingsDlg.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

using test::Control;
namespace page = id::page;

// The pages have no meta-object of their own, so findChild cannot tell them apart.
template <typename Page>
Page& PageOf(CSettingsDlg& dialog) {
  for (QWidget* child : dialog.findChildren<QWidget*>())
    if (auto* found = dynamic_cast<Page*>(child)) return *found;
  throw std::logic_error("no such page");
}

TEST(SettingsDlgTest, OnlyApplyWritesAndPutsInForceWhatItWrote) {
  test::MessageBoxRecorder boxes;
  test::WindowNetwork network(1);
  CChatDlg window(network.OptionsFor(0));
  window.show();
  const std::string file = network.folder.Path("TOOLBOX-0"), before = test::ReadBytes(file);
  const auto open = [&] { return std::make_unique<CSettingsDlg>(PageSeed{window.Settings(), window.Log().LogSizeLimitKB()}, window); };
  auto dialog = open();
  Control<QLineEdit>(PageOf<CPage2>(*dialog), page::kPhrase1 + 2)->setText("phrase three");
  dialog->reject();  // Escape or the close box
  EXPECT_EQ(test::ReadBytes(file), before);
  EXPECT_EQ(FieldText(window.Settings().szPhrase[2]), "");

  dialog = open();
  Control<QLineEdit>(PageOf<CPage2>(*dialog), page::kPhrase1 + 2)->setText("phrase three");
  window.findChild<QAction*>("actionEcho")->trigger();  // the menu's own options survive Apply
  auto& log = PageOf<CLogPage>(*dialog);
  Control<QRadioButton>(log, page::kLogOn)->click();  // without a file name: refused
  Control<QPushButton>(*dialog, id::kSettingsApply)->click();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "[ERROR] 不正なログファイル名です");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONSTOP);
  EXPECT_FALSE(window.Log().LogOn());
  EXPECT_EQ(FieldText(window.Settings().szPhrase[2]), "");

  // The cap is in force only when limited, and stored as typed.
  Control<QLineEdit>(log, page::kLogFile)->setText(QString::fromStdString(network.LogFile(0)));
  for (const auto& [limited, text, inForce] : {std::tuple{true, "abc", -1}, {false, "5", -1}, {true, "5", 5}}) {
    Control<QAbstractButton>(log, page::kLogSizeLimit)->setChecked(limited);
    Control<QLineEdit>(log, page::kLogSize)->setText(text);
    Control<QPushButton>(*dialog, id::kSettingsApply)->click();
    EXPECT_TRUE(window.Log().LogOn());
    EXPECT_EQ(window.Log().LogSizeLimitKB(), inForce) << text;
    EXPECT_EQ(FieldText(window.Settings().szLogSizeKB), text);  // read back from the file
  }
  EXPECT_TRUE(std::filesystem::exists(network.LogFile(0)));  // made by Apply
  EXPECT_EQ(FieldText(window.Settings().szPhrase[2]), "phrase three");
  EXPECT_EQ(window.Settings().bEcho, 1);
  window.findChild<QAction*>("actionEcho")->trigger();
  SettingsRecord stored;
  ASSERT_EQ(ReadSettingsFile(stored, file), std::nullopt);
  EXPECT_EQ(FieldText(stored.szPhrase[2]), "phrase three");  // and Apply's survive the menu
  EXPECT_EQ(stored.bEcho, 0);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

}  // namespace
}  // namespace korvane
