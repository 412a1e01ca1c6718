// SPDX-License-Identifier: MIT
// The real main window on the offscreen platform, on loopback host 127.0.0.20 (a member
// at .21), with its settings file and log in a temporary folder, its boxes recorded and its
// packets caught on the wire.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QTest>
#include <algorithm>
#include <thread>

#include "app/CAboutDlg.h"
#include "display/CMemberList.h"
#include "display/CMessageList.h"
#include "display/TrayIcon.h"
#include "resources/Icons.h"
#include "settings/SettingsFile.h"
#include "tests/support/Controls.h"
#include "tests/support/Loopback.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempFolder.h"
#include "window/CAddressDlg.h"
#include "window/CChatDlg.h"
#include "window/CSettingsDlg.h"

namespace korvane {
namespace {

using test::Control;
using Lines = std::vector<std::string>;

// Lets queued display changes and timers run until condition holds (bounded).
bool ProcessUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  return test::WaitUntil(condition, limit, [] { QApplication::processEvents(QEventLoop::AllEvents, 5); });
}

class ChatDlgTest : public testing::Test {
 protected:
  CChatDlg& Open(SettingsRecord settings = {}, bool tray = false) {
    window.reset();  // its carriers free for the next
    settings.crBack = 0xFFFFFF;  // not the text's colour: no box about it
    WriteSettingsFile(settings, folder.Path("settings"));
    window = std::make_unique<CChatDlg>(ChatDlgOptions{
        .ownAddress = network.carriers.slotAddress, .namedAddress = {}, .carriers = network.carriers, .liveness = {},
        .blinkPeriod = std::chrono::milliseconds(20), .settingsFile = folder.Path("settings"), .trayAvailable = tray,
        .showAbout = {}});
    window->show();
    return *window;
  }
  auto Wire(std::size_t count) { return network.tap.Take(count, std::chrono::milliseconds(300)); }
  Lines Shown() {
    QApplication::processEvents();
    const auto* list = Control<CMessageList>(*window, id::kMessageList);
    Lines lines;
    for (int row = 0; row < list->LineCount(); ++row) lines.push_back(list->LineText(row).toStdString());
    return lines;
  }
  void Type(int control, const QString& text) {
    Control<QLineEdit>(*window, control)->setText(text);
    QTest::keyClick(Control(*window, control), Qt::Key_Return);
  }

  test::MessageBoxRecorder boxes;
  test::LoopbackHost network{"127.0.0.20"};
  test::TempFolder folder;
  std::string logFile = folder.Path("chat.log");
  std::unique_ptr<CChatDlg> window;
};

TEST_F(ChatDlgTest, SendingAndLogout) {
  CChatDlg& w = Open({.szPhrase = {"", "", "", "", "phrase five"}});
  EXPECT_FALSE(w.IsIconic());  // shown, before the desktop makes it active
  w.showMinimized();
  w.showNormal();  // restored by the desktop
  EXPECT_FALSE(w.IsIconic());
  Type(id::kHandleInput, "太郎");
  Wire(1);  // the arrival
  w.Session().Members().AddMember("bob", MakeFixedText<16>("127.0.0.21"));
  // The fifth phrase by its shortcut; the other forms go as text but "CLEAR...", and 933 bytes
  // or a letter code page 932 lacks, which a peer could not read; 932 bytes is the longest.
  const QString longest(466, QChar(0x3042));
  for (const QString& typed : QStringList{"m5", "m6", "m1x", "CLEARING", "", QString(933, 'x'), "café", longest})
    Type(id::kMessageInput, typed);
  Control<QLineEdit>(w, id::kMessageInput)->setText("not for sending");
  QTest::keyClick(Control(w, id::kLogout), Qt::Key_Return);  // the focused button takes Enter, not the default one
  Lines sent;  // the last one the goodbye
  for (const auto& datagram : Wire(6)) sent.emplace_back(PacketView(datagram.bytes).Text());
  EXPECT_EQ(sent, (Lines{"phrase five", "m6", "m1x", Utf8ToCp932(longest.toStdString()), ""}));
  EXPECT_EQ(Control<CMemberList>(w, id::kMemberList)->RowCount(), 0);
}

// Each display option is read from the file at start, shown by its check mark, flipped by its
// item and written back; then the listed phrases, "BYE" and the tray's quit.
TEST_F(ChatDlgTest, DisplayOptionsAndMenuItems) {
  // The item, its field and the values stored, then after each pick (7 is not 1: off).
  const std::tuple<const char*, std::int32_t SettingsRecord::*, std::array<std::int32_t, 3>> toggles[] = {
      {"actionSystemMessages", &SettingsRecord::bShowSysMsg, {7, 1, 0}},
      {"actionAutoWrap", &SettingsRecord::bAutoWrap, {1, 0, 1}},
      {"actionEcho", &SettingsRecord::bEcho, {1, 0, 1}}};
  SettingsRecord settings{.szPhrase = {"", "", "phrase three"}};
  for (const auto& [item, field, values] : toggles) settings.*field = values[0];
  CChatDlg& w = Open(settings);
  auto* members = Control<CMemberList>(w, id::kMemberList);
  Type(id::kHandleInput, "alice");
  ASSERT_TRUE(ProcessUntil([&] { return members->RowCount() == 1; }));  // echo: the own row
  for (const auto& [item, field, values] : toggles) {
    auto* action = w.findChild<QAction*>(item);
    const auto listed = action->associatedObjects();
    EXPECT_TRUE(std::ranges::any_of(listed, [](QObject* o) { return qobject_cast<QMenu*>(o) != nullptr; })) << item;
    for (int step = 0; step < 3; ++step) {
      if (step > 0) action->trigger();
      EXPECT_EQ(action->isChecked(), values[step] == 1) << item;
      SettingsRecord stored;
      ASSERT_EQ(ReadSettingsFile(stored, folder.Path("settings")), std::nullopt);
      EXPECT_EQ(stored.*field, values[step]) << item;
      EXPECT_TRUE(field != &SettingsRecord::bEcho || members->RowCount() == values[step]);
    }
  }
  w.findChild<QAction*>("actionClearDisplay")->trigger();
  w.findChild<QAction*>("actionShowPhrases")->trigger();  // listed, not sent
  Type(id::kMessageInput, "BYE");  // its notice hidden: system messages are off by now
  EXPECT_EQ(w.Session().State().m_bLoggedIn.load(), 0);
  EXPECT_EQ(Shown(), (Lines{"[M1]", "[M2]", "[M3]phrase three", "[M4]", "[M5]"}));
  QTimer::singleShot(0, &w, [&w] { w.Tray().Menu()->actions().back()->trigger(); });
  w.RunModal();  // until the tray's quit
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(w.Tray().Shown());
}

// A message while the window hides in the tray, in each of the three modes.
TEST_F(ChatDlgTest, MessagesWhileHiddenAlertAsChosen) {
  const auto iconShown = [this](const QIcon& icon) {
    return window->Tray().Icon().pixmap(32).toImage() == icon.pixmap(32).toImage();
  };
  for (const std::int32_t mode : {0, 1, 2}) {
    CChatDlg& w = Open({.nIconAction = mode}, true);
    QTest::keyClick(Control(w, id::kHandleInput), Qt::Key_Escape);
    EXPECT_TRUE(!w.isVisible() && w.Tray().Shown());  // hidden, not closed
    w.AlertMinimised(PacketView(std::array<std::uint8_t, kMaxPacket>{}));
    if (mode == 0) {
      EXPECT_TRUE(ProcessUntil([&] { return w.isVisible() && !w.IsIconic(); }));
    } else if (mode == 1) {
      ASSERT_EQ(boxes.Boxes().size(), 1u);
      EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONINFORMATION | MB_TOPMOST | MB_NOWAIT);  // the receive thread goes on
    } else {
      // The alert icon and the main icon in turn, until the icon is double-clicked.
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(AlertIcon()); }));
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(MainIcon()); }));
      emit w.Tray().DoubleClicked();
      EXPECT_FALSE(w.IsIconic());  // restored, before the desktop makes it active
      EXPECT_FALSE(ProcessUntil([&] { return iconShown(AlertIcon()); }, std::chrono::milliseconds(100)));
    }
  }
}

// Apply with nothing touched writes the file back as it was (a page that stores a field
// wrongly, or one not its own, leaves a difference), a cap no arrow could show and a phrase
// no character stands for included; a refused Apply, or closing, writes nothing; what Apply
// puts in force keeps the menu's options.
TEST_F(ChatDlgTest, SettingsApply) {
  SettingsRecord settings{.nIconAction = 2, .szPhrase = {"\x82"}, .bIconizeAtStart = 1, .bLogSizeLimit = 1,
                          .szLogSizeKB = "100", .crText = 0x00123456};
  SetFieldText(settings.szDefaultName, Utf8ToCp932("太郎"));  // automatic login off
  SetFieldText(settings.szLogFile, folder.Path("missing/chat.log"));
  CChatDlg& w = Open(settings);
  const auto file = [&] { return test::ReadBytes(folder.Path("settings")); };
  const std::string untouched = file();
  CSettingsDlg(PageSeed{w.Settings()}, w).ApplySettings();
  EXPECT_EQ(file(), untouched);
  PageSeed seed{w.Settings()};
  seed.record.nLogMode = 1;  // in a folder that is not there
  CSettingsDlg dialog(seed, w);
  w.findChild<QAction*>("actionEcho")->trigger();
  const std::string echoed = file();
  auto* apply = Control<QPushButton>(dialog, id::kSettingsApply);
  apply->click();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "[ERROR] 不正なログファイル名です");
  Control<QLineEdit>(dialog, id::page::kLogFile)->clear();
  QTest::keyClicks(Control<QLineEdit>(dialog, id::page::kLogFile), QString::fromStdString(logFile));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(file(), echoed);
  apply->click();
  EXPECT_TRUE(w.Log().LogOn());
  EXPECT_EQ(w.Settings().bEcho, 1);  // read back from the file
}

// Threads showing lines at once, as the receive thread and the window's own do: the log and
// the display take them in one order.
TEST_F(ChatDlgTest, LogAndDisplayTakeLinesInOneOrder) {
  SettingsRecord settings{.nLogMode = 1};
  std::strcpy(settings.szLogFile, logFile.c_str());
  CChatDlg& w = Open(settings);
  constexpr int kThreads = 6, kLines = 500;  // more threads than cores: a line's turn may be taken midway
  const auto showLines = [&](int thread) {
    for (int i = 0; i < kLines; ++i) w.ShowLine(std::to_string(thread) + ":" + std::to_string(i), LineKind::Chat);
  };
  std::vector<std::jthread> threads;
  for (int thread = 1; thread < kThreads; ++thread) threads.emplace_back(showLines, thread);
  showLines(0);
  ASSERT_TRUE(ProcessUntil([&] { return Shown().size() == kThreads * kLines; }));
  Lines logged;
  std::istringstream log(test::ReadBytes(logFile));
  for (std::string line; std::getline(log, line);) logged.push_back(line.substr(27, line.size() - 28));  // stamp, CR
  EXPECT_EQ(logged, Shown());
  // Trace lines from the receive thread are not shown, but bring the end back into view.
  auto* bar = Control<CMessageList>(*window, id::kMessageList)->verticalScrollBar();
  for (int burst = 0; burst < 2; ++burst) {
    bar->setValue(0);
    std::jthread([&] { for (int i = 0; i < 3; ++i) w.ShowLine("trace", LineKind::Trace); }).join();
    EXPECT_TRUE(ProcessUntil([&] { return bar->value() == bar->maximum(); })) << burst;
  }
  EXPECT_EQ(Shown().size(), std::size_t{kThreads * kLines});
}

// What a screen reader meets: every control a person can operate, in every window, page and
// menu, has a name. Unnamed ones are listed as "role in named parent".
void CollectUnnamed(QAccessibleInterface* node, const QString& where, QStringList& unnamed) {
  const QAccessible::Role role = node->role();
  const QString name = node->text(QAccessible::Name);
  const bool operable = node->state().focusable || role == QAccessible::PushButton ||
                        role == QAccessible::MenuItem || role == QAccessible::PageTab;
  if (operable && !node->state().invisible && name.trimmed().isEmpty())
    unnamed << QStringLiteral("role 0x%1 in %2").arg(int(role), 0, 16).arg(where);
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), name.isEmpty() ? where : name, unnamed);
}

TEST_F(ChatDlgTest, EveryWindowPageAndMenuNamesEveryControl) {
  CChatDlg& w = Open();
  CSettingsDlg settings(PageSeed{w.Settings()}, w);
  CAddressDlg address(AddressEntry{});
  CAboutDlg about;
  std::vector<QWidget*> roots{&w, &address, &about};
  for (QMenu* menu : w.findChildren<QMenu*>()) roots.push_back(menu);  // the menu bar's, the tray's
  auto* pages = settings.findChild<QTabWidget*>();
  for (int page = 0; page < pages->count(); ++page) roots.push_back(&settings);
  for (QWidget* root : roots) {
    auto* menu = qobject_cast<QMenu*>(root);  // its items are in the tree while it is open
    menu != nullptr ? menu->popup({}) : root->show();
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(root), root->windowTitle(), unnamed);
    EXPECT_EQ(unnamed.join("; ").toStdString(), "") << root->windowTitle().toStdString();
    if (menu != nullptr) menu->hide();
    if (root == &settings) pages->setCurrentIndex(pages->currentIndex() + 1);
  }
}

}  // namespace
}  // namespace korvane
