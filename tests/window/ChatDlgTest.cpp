// The real main window on the offscreen platform, on a loopback host, with its boxes
// recorded and its packets caught on the wire.

#include <gtest/gtest.h>

#include <QAction>
#include <QToolBar>
#include <QToolButton>
#include <thread>

#include "display/CMemberList.h"
#include "display/TrayIcon.h"
#include "platform/ShellOpen.h"
#include "resources/Icons.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"

namespace korvane {
namespace {

using test::Control;
using test::ProcessUntil;
using Lines = std::vector<std::string>;
using Wired = std::vector<test::PacketCapture::Datagram>;

class ChatDlgTest : public testing::Test {
 protected:
  std::unique_ptr<CChatDlg> Open(SettingsRecord settings = test::PlainSettings(),
                                 const std::function<void(ChatDlgOptions&)>& adjust = {}) {
    ChatDlgOptions options = network.OptionsFor(0, settings);
    options.blinkPeriod = std::chrono::milliseconds(20);
    if (adjust) adjust(options);
    slotPort = options.carriers.slotPort;
    auto window = std::make_unique<CChatDlg>(options);
    window->show();
    return window;
  }
  Wired Wire(std::size_t count, int milliseconds = 300) {
    return network.tap.Take(count, std::chrono::milliseconds(milliseconds));
  }
  static Lines Shown(CChatDlg& window) {
    ProcessUntil([] { return true; });
    return test::DisplayedLines(*Control<CMessageList>(window, id::kMessageList));
  }
  static void Say(CChatDlg& window, const QString& text) {
    test::TypeAndEnter(Control<QLineEdit>(window, id::kMessageInput), text);
  }
  static void LogIn(CChatDlg& window, const QString& handle) {
    test::TypeAndEnter(Control<QLineEdit>(window, id::kHandleInput), handle);
  }
  static bool LoggedIn(CChatDlg& window) { return window.Session().State().m_bLoggedIn.load() == 1; }
  // As a person picks the item, from whichever menu or button.
  static void Pick(CChatDlg& window, const char* action) { window.findChild<QAction*>(action)->trigger(); }
  // A chat line to host 0 as bob's copy on host 1 sends it.
  void FromBob(UdpCarrier& peer, const std::string& text) {
    std::array<std::uint8_t, 200> packet{};
    const int payload = BuildChat(packet, code::kBcMsg, MakeFixedText<16>(network.Address(1)), MakeFixedText<50>("bob"),
                                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    StampPacket(packet, payload, static_cast<std::uint32_t>(text.size()));
    peer.SendTo(std::span(packet).first(payload + kPacketOverhead), network.Address(0), slotPort);
  }

  test::MessageBoxRecorder boxes;
  test::WindowNetwork network{2};
  std::uint16_t slotPort = 0;
};

TEST_F(ChatDlgTest, LoginSendingAndLogout) {
  SettingsRecord settings = test::PlainSettings();
  std::strcpy(settings.szPhrase[4], "phrase five");
  auto window = Open(settings);
  CChatDlg& w = *window;
  LogIn(w, "");
  EXPECT_EQ(Shown(w), Lines{"*** ハンドルネームを入力してください ***"});
  LogIn(w, QStringLiteral("太郎"));
  ASSERT_TRUE(LoggedIn(w));
  EXPECT_EQ(w.DefaultButtonId(), id::kSend);
  Wire(1);  // the arrival
  w.Session().Members().AddMember("bob", MakeFixedText<16>("127.0.0.21"));
  ASSERT_TRUE(ProcessUntil([&] { return w.Tray().ToolTip() == QStringLiteral("Korvane - connection is <1>"); }));

  // The fifth phrase by its shortcut; a number past the phrases goes as text; "clear" is not sent.
  for (const char* typed : {"m5", "m6", "clearing the table", ""}) Say(w, typed);
  Lines sent;
  for (const auto& datagram : Wire(3)) sent.emplace_back(PacketView(datagram.bytes).Text());
  EXPECT_EQ(sent, (Lines{"phrase five", "m6"}));
  EXPECT_TRUE(Shown(w).empty());
  Say(w, QString(933, 'x'));  // a peer could not read it: refused, and kept to be shortened
  EXPECT_EQ(Shown(w), Lines{"*** メッセージが長すぎます（932バイトまで） ***"});
  EXPECT_EQ(Control<QLineEdit>(w, id::kMessageInput)->text().size(), 933);
  Say(w, QString(466, QChar(0x3042)));  // 932 bytes: the longest that goes
  Wired wire = Wire(2);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_EQ(wire[0].bytes.size(), 92u + 932u);

  Control<QLineEdit>(w, id::kMessageInput)->setText("not for sending");
  auto* logout = Control(w, id::kLogout);
  for (int tabs = 0; tabs < 10 && w.focusWidget() != logout; ++tabs) QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(w.focusWidget(), logout);
  QTest::keyClick(logout, Qt::Key_Return);  // the focused button takes Enter, not the default one
  wire = Wire(2);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_TRUE(PacketView(wire[0].bytes).HasCode(code::kCmdBye));
  EXPECT_EQ(Control<CMemberList>(w, id::kMemberList)->RowCount(), 0);
  EXPECT_EQ(w.Tray().ToolTip(), QStringLiteral("Korvane - connection is <0>"));
  EXPECT_EQ(w.DefaultButtonId(), id::kLogin);

  // Without a notification area Escape minimises the window; it never closes it.
  QTest::keyClick(Control(w, id::kHandleInput), Qt::Key_Escape);
  EXPECT_TRUE(ProcessUntil([&] { return w.isMinimized(); }));
  EXPECT_TRUE(w.IsIconic() && w.isVisible());
}

// Each display option is read from the file at start, shown by its check mark and toolbar
// button, flipped by its item and written back; then the other items of the menus.
TEST_F(ChatDlgTest, DisplayOptionsAndMenuItems) {
  struct Toggle {
    const char* action;
    std::int32_t SettingsRecord::*field;
    std::int32_t values[3];  // stored, then after each pick
  };
  const Toggle toggles[] = {{"actionSystemMessages", &SettingsRecord::bShowSysMsg, {7, 1, 0}},  // not 1: off
                            {"actionAutoWrap", &SettingsRecord::bAutoWrap, {1, 0, 1}},
                            {"actionEcho", &SettingsRecord::bEcho, {1, 0, 1}}};
  SettingsRecord settings = test::PlainSettings();
  for (const Toggle& toggle : toggles) settings.*toggle.field = toggle.values[0];
  std::strcpy(settings.szPhrase[2], "phrase three");
  int abouts = 0;
  auto window = Open(settings, [&](ChatDlgOptions& options) { options.showAbout = [&](QWidget&) { ++abouts; }; });
  CChatDlg& w = *window;
  const std::string file = network.folder.Path("TOOLBOX-0");
  auto* members = Control<CMemberList>(w, id::kMemberList);
  LogIn(w, "alice");
  ASSERT_TRUE(ProcessUntil([&] { return members->RowCount() == 1; }));  // echo: the own row
  for (const Toggle& toggle : toggles) {
    auto* action = w.findChild<QAction*>(toggle.action);
    const auto* button = qobject_cast<const QToolButton*>(w.findChild<QToolBar*>()->widgetForAction(action));
    for (int step = 0; step < 3; ++step) {
      if (step > 0) Pick(w, toggle.action);
      const std::int32_t value = toggle.values[step];
      EXPECT_EQ(action->isChecked(), value == 1) << toggle.action;
      EXPECT_TRUE(button == nullptr || button->isChecked() == (value == 1)) << toggle.action;  // echo has none
      SettingsRecord stored;
      ASSERT_EQ(ReadSettingsFile(stored, file), std::nullopt);
      EXPECT_EQ(stored.*toggle.field, value) << toggle.action;
      EXPECT_TRUE(toggle.field != &SettingsRecord::bEcho || members->RowCount() == value);  // the own row
    }
    settings.*toggle.field = toggle.values[2];
  }
  EXPECT_EQ(test::ReadBytes(file), std::string(reinterpret_cast<const char*>(&settings), sizeof settings));

  std::vector<std::string> opened;
  const ShellOpenHandler previous = SetShellOpenHandler([&](const std::string& path) { opened.push_back(path); });
  Pick(w, "actionClearDisplay");
  EXPECT_TRUE(Shown(w).empty());
  Pick(w, "actionShowPhrases");  // listed, not sent
  EXPECT_EQ(Shown(w), (Lines{"[M1]", "[M2]", "[M3]phrase three", "[M4]", "[M5]"}));
  Pick(w, "actionHelp");
  EXPECT_EQ(opened, Lines{"KvHelp.hlp"});
  Pick(w, "actionAbout");
  Pick(w, "actionSystemAbout");
  EXPECT_EQ(abouts, 2);
  Pick(w, "actionQuit");
  EXPECT_FALSE(w.isVisible());
  const Wired wire = Wire(5);
  ASSERT_FALSE(wire.empty());
  EXPECT_TRUE(PacketView(wire.back().bytes).HasCode(code::kCmdBye));
  SetShellOpenHandler(previous);
}

// A message from a member while the window hides in the tray, in each of the three modes.
TEST_F(ChatDlgTest, MessagesWhileHiddenAlertAsChosen) {
  const auto iconShown = [](CChatDlg& window, const QIcon& icon) {
    return window.Tray().Icon().pixmap(32).toImage() == icon.pixmap(32).toImage();
  };
  auto peer = UdpCarrier::Open(network.Address(1), 0);
  for (const std::int32_t mode : {0, 1, 2}) {
    SettingsRecord settings = test::PlainSettings();
    settings.nIconAction = mode;
    auto window = Open(settings, [](ChatDlgOptions& options) { options.trayAvailable = true; });
    CChatDlg& w = *window;
    LogIn(w, "alice");
    w.Session().Members().AddMember("bob", MakeFixedText<16>(network.Address(1)));
    QTest::keyClick(Control(w, id::kMessageInput), Qt::Key_Escape);
    ASSERT_TRUE(w.IsIconic() && !w.isVisible());
    FromBob(*peer, "one");
    if (mode == 0) {
      EXPECT_TRUE(ProcessUntil([&] { return w.isVisible() && !w.IsIconic(); }));
    } else if (mode == 1) {
      FromBob(*peer, "second");
      ASSERT_TRUE(ProcessUntil([&] { return Shown(w).size() == 8; }));
      const std::string stars(31, '*'), banner = " ここからがアイコン中のメッセージ";
      EXPECT_EQ(Shown(w), (Lines{stars, banner, stars, "bob > one", stars, banner, stars, "bob > second"}));
      ASSERT_EQ(boxes.Boxes().size(), 2u);
      EXPECT_EQ(boxes.Boxes()[1].text, "< bob > の発言がありました！");
      EXPECT_EQ(boxes.Boxes()[1].style, MB_ICONINFORMATION | MB_TOPMOST | MB_NOWAIT);
      EXPECT_FALSE(w.isVisible());
    } else {
      // The alert icon and the main icon in turn, until the icon is double-clicked.
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(w, AlertIcon()); }));
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(w, MainIcon()); }));
      EXPECT_FALSE(w.isVisible());
      emit w.Tray().DoubleClicked();
      EXPECT_TRUE(w.isVisible() && !w.IsIconic());
      EXPECT_EQ(w.focusWidget(), Control(w, id::kMessageInput));
      EXPECT_FALSE(ProcessUntil([&] { return iconShown(w, AlertIcon()); }, std::chrono::milliseconds(100)));
    }
  }
}

TEST_F(ChatDlgTest, StartsFromItsSettings) {
  SettingsRecord settings{};  // a new, empty file: equal colours
  settings.bAutoLogin = 1;
  std::strcpy(settings.szDefaultName, Utf8ToCp932("花子").c_str());
  settings.nLogMode = 1;
  std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
  settings.nAddrCount = 1;
  std::strcpy(settings.szAddrIP[0], "127.0.0.41");  // used at start though not chosen
  auto window = Open(settings);
  EXPECT_TRUE(LoggedIn(*window));
  EXPECT_EQ(window->Session().OutDomain().Snapshot().m_nOutDomainCount, 1);
  EXPECT_TRUE(window->Log().LogOn());
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "表示エリアの背景色と文字色が同じです！");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONINFORMATION | MB_TOPMOST);
}

TEST_F(ChatDlgTest, WindowWithoutItsCarriersStillOpens) {
  CarrierConfig taken;
  taken.slotAddress = network.Address(0);
  taken.slotPort = network.OptionsFor(0).carriers.slotPort;
  const auto holder = BroadcastSlot::Open(taken);
  ASSERT_NE(holder, nullptr);
  auto window = Open();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "メールスロットの作成に失敗しました");
  EXPECT_FALSE(window->Session().CarriersOpen());
}

// Threads showing lines at once, as the receive thread and the window's own do: the log and
// the display take them in one order.
TEST_F(ChatDlgTest, LogAndDisplayTakeLinesInOneOrder) {
  SettingsRecord settings = test::PlainSettings();
  settings.nLogMode = 1;
  std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
  auto window = Open(settings);
  constexpr int kThreads = 6, kLines = 500;  // more threads than cores: a line's turn may be taken midway
  const auto showLines = [&](int thread) {
    for (int i = 0; i < kLines; ++i) window->ShowLine(std::to_string(thread) + ":" + std::to_string(i), LineKind::Chat);
  };
  std::vector<std::thread> threads;
  for (int thread = 1; thread < kThreads; ++thread) threads.emplace_back(showLines, thread);
  showLines(0);
  for (std::thread& thread : threads) thread.join();
  ASSERT_TRUE(ProcessUntil([&] { return Shown(*window).size() == kThreads * kLines; }));
  Lines logged;
  std::istringstream log(test::ReadBytes(network.LogFile(0)));
  for (std::string line; std::getline(log, line);) logged.push_back(line.substr(27, line.size() - 28));  // stamp, CR
  EXPECT_EQ(logged, Shown(*window));
}

}  // namespace
}  // namespace korvane
