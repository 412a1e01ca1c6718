// The real main window on the offscreen platform, on a loopback host, with its boxes
// recorded and its packets caught on the wire.

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "display/CMemberList.h"
#include "display/TrayIcon.h"
#include "platform/ShellOpen.h"
#include "resources/Icons.h"
#include "resources/ControlIds.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"

namespace korvane {
namespace {

using test::DisplayedLines;
using test::Control;
using test::ProcessUntil;
using test::TypeAndEnter;


class ChatDlgTest : public testing::Test {
 protected:
  std::unique_ptr<CChatDlg> Open(SettingsRecord settings = test::PlainSettings()) {
    auto window = std::make_unique<CChatDlg>(network.OptionsFor(0, settings));
    window->show();
    return window;
  }
  std::vector<test::PacketCapture::Datagram> Wire(std::size_t count, int milliseconds = 300) {
    return network.tap.Take(count, std::chrono::milliseconds(milliseconds));
  }
  static std::vector<std::string> Lines(CChatDlg& window) {
    ProcessUntil([] { return true; });
    return DisplayedLines(*Control<CMessageList>(window, id::kMessageList));
  }
  static void Say(CChatDlg& window, const QString& text) {
    TypeAndEnter(Control<QLineEdit>(window, id::kMessageInput), text);
  }
  static void LogIn(CChatDlg& window, const QString& handle) {
    TypeAndEnter(Control<QLineEdit>(window, id::kHandleInput), handle);
  }
  // As a person picks the item, from whichever menu or button.
  static void Pick(CChatDlg& window, const char* action) { window.findChild<QAction*>(action)->trigger(); }

  test::MessageBoxRecorder boxes;
  test::WindowNetwork network{2};
};

TEST_F(ChatDlgTest, StartsLoggedOutLaidOutFromItsTemplate) {
  auto window = Open();
  EXPECT_EQ(window->Client().size(), QSize(495, 297));  // below the menu bar
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
  // 81, 15, 195, 120 dialog units at base units 7 x 13.
  EXPECT_EQ(Control(*window, id::kMessageList)->geometry(), QRect(142, 24, 341, 195));
  EXPECT_EQ(Control<QLabel>(*window, id::kMemberLabel)->text(), QStringLiteral("接続中のメンバ"));
  EXPECT_EQ(Control<QGroupBox>(*window, id::kLoginGroup)->title(), QStringLiteral("ＬｏｇＩｎ"));
  for (int disabled : {id::kMessageList, id::kMessageInput, id::kMemberList, id::kInputLabel})
    EXPECT_FALSE(Control(*window, disabled)->isEnabled()) << disabled;
  EXPECT_FALSE(Control(*window, id::kLogout)->isVisible());
  EXPECT_TRUE(Control(*window, id::kLogin)->isVisible());
  EXPECT_FALSE(Control(*window, id::kSend)->isVisible());
  EXPECT_EQ(window->DefaultButtonId(), id::kLogin);
  EXPECT_EQ(window->Tray().ToolTip(), QStringLiteral("Korvane - connection is <0>"));
  EXPECT_EQ(window->ListWidth(), Control<CMessageList>(*window, id::kMessageList)->ClientWidth());
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ChatDlgTest, EmptyHandleIsAskedForAndLongHandlesAreRefused) {
  auto window = Open();
  LogIn(*window, "");
  EXPECT_EQ(Lines(*window), std::vector<std::string>{"*** ハンドルネームを入力してください ***"});
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 0);

  // 32 bytes of code page 932 at most: sixteen Japanese characters, not seventeen.
  auto* handle = Control<QLineEdit>(*window, id::kHandleInput);
  TypeAndEnter(handle, QString(17, QChar(0x3042)));
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 0);
  TypeAndEnter(handle, QString(16, QChar(0x3042)));
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 1);
}

TEST_F(ChatDlgTest, LoginAndLogoutSwitchLayoutsAndAnnounce) {
  auto window = Open();
  LogIn(*window, QStringLiteral("太郎"));
  ASSERT_EQ(window->Session().State().m_bLoggedIn.load(), 1);
  EXPECT_EQ(window->DefaultButtonId(), id::kSend);
  EXPECT_TRUE(Control(*window, id::kLogout)->isVisible());
  EXPECT_FALSE(Control(*window, id::kHandleInput)->isVisible());
  EXPECT_TRUE(Control(*window, id::kMessageInput)->isEnabled());
  auto hello = Wire(1);
  ASSERT_EQ(hello.size(), 1u);
  EXPECT_TRUE(PacketView(hello[0].bytes).HasCode(code::kCmdHello));
  EXPECT_EQ(TextOf(PacketView(hello[0].bytes).HelloHandle()), Utf8ToCp932("太郎"));

  window->Session().Members().AddMember("bob", MakeFixedText<16>("127.0.0.21"));
  ASSERT_TRUE(ProcessUntil([&] { return window->Tray().ToolTip() == QStringLiteral("Korvane - connection is <1>"); }));

  Say(*window, "bye");
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 0);
  auto bye = Wire(1);
  ASSERT_EQ(bye.size(), 1u);
  EXPECT_TRUE(PacketView(bye[0].bytes).HasCode(code::kCmdBye));
  auto* handle = Control<QLineEdit>(*window, id::kHandleInput);
  EXPECT_TRUE(handle->text().isEmpty());
  EXPECT_EQ(window->focusWidget(), handle);
  ProcessUntil([] { return true; });
  EXPECT_EQ(Control<CMemberList>(*window, id::kMemberList)->RowCount(), 0);
  EXPECT_EQ(window->Tray().ToolTip(), QStringLiteral("Korvane - connection is <0>"));
  EXPECT_EQ(window->DefaultButtonId(), id::kLogin);
  EXPECT_EQ(Lines(*window).back(), "*** ログアウトしました ***");
}

TEST_F(ChatDlgTest, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  auto window = Open();
  LogIn(*window, "alice");
  Wire(1);
  auto* input = Control<QLineEdit>(*window, id::kMessageInput);
  input->setText("not for sending");
  auto* logout = Control(*window, id::kLogout);
  for (int tabs = 0; tabs < 10 && window->focusWidget() != logout; ++tabs)
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(window->focusWidget(), logout);
  QTest::keyClick(logout, Qt::Key_Return);
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 0);
  const auto wire = Wire(2);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_TRUE(PacketView(wire[0].bytes).HasCode(code::kCmdBye));
}

TEST_F(ChatDlgTest, CommandsArePickedByTheirActions) {
  SettingsRecord settings = test::PlainSettings();
  std::strcpy(settings.szPhrase[2], "phrase three");
  ChatDlgOptions options = network.OptionsFor(0, settings);
  int abouts = 0;
  options.showAbout = [&](QWidget&) { ++abouts; };
  CChatDlg window(options);
  window.show();
  std::vector<std::string> opened;
  const ShellOpenHandler previous = SetShellOpenHandler([&](const std::string& path) { opened.push_back(path); });

  Control<QLineEdit>(window, id::kHandleInput)->setText("alice");
  Pick(window, "actionLogin");
  EXPECT_EQ(window.Session().State().m_bLoggedIn.load(), 1);
  Say(window, "hello");
  Pick(window, "actionClearDisplay");
  EXPECT_TRUE(Lines(window).empty());
  Pick(window, "actionShowPhrases");  // listed, not sent
  EXPECT_EQ(Lines(window), (std::vector<std::string>{"[M1]", "[M2]", "[M3]phrase three", "[M4]", "[M5]"}));
  Pick(window, "actionHelp");
  EXPECT_EQ(opened, std::vector<std::string>{"KvHelp.hlp"});
  Pick(window, "actionAbout");
  Pick(window, "actionSystemAbout");
  EXPECT_EQ(abouts, 2);
  Pick(window, "actionQuit");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(Wire(4).size(), 3u);  // hello, the line, and the departure
  SetShellOpenHandler(previous);
}

// Each option: its flag, its check mark and toolbar button, and the whole record on disk.
TEST_F(ChatDlgTest, OptionTogglesFollowTheirFlagIntoMenuToolbarAndFile) {
  struct Toggle {
    const char* action;
    std::size_t offset;
    std::int32_t SettingsRecord::*field;
    std::int32_t stored, once, twice;
  };
  const Toggle toggles[] = {{"actionSystemMessages", 7160, &SettingsRecord::bShowSysMsg, 1, 0, 1},
                            {"actionAutoWrap", 7164, &SettingsRecord::bAutoWrap, 7, 1, 0},  // not 1: off
                            {"actionEcho", 7168, &SettingsRecord::bEcho, 0, 1, 0}};
  SettingsRecord settings = test::PlainSettings();
  for (const Toggle& toggle : toggles) settings.*toggle.field = toggle.stored;
  auto window = Open(settings);
  const std::string file = network.folder.Path("TOOLBOX-0");
  std::string expected = test::ReadBytes(file);
  const auto stored = [&](std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, test::ReadBytes(file).data() + offset, sizeof value);
    return value;
  };
  auto* toolbar = window->findChild<QToolBar*>();
  for (const Toggle& toggle : toggles) {
    auto* action = window->findChild<QAction*>(toggle.action);
    const auto* button = qobject_cast<const QToolButton*>(toolbar->widgetForAction(action));  // echo has none
    const auto shows = [&](std::int32_t value) {
      EXPECT_EQ(action->isChecked(), value == 1) << toggle.action;
      if (button != nullptr) {
        EXPECT_EQ(button->isChecked(), value == 1) << toggle.action;
      }
    };
    shows(toggle.stored);
    Pick(*window, toggle.action);
    shows(toggle.once);
    EXPECT_EQ(stored(toggle.offset), toggle.once) << toggle.action;
    Pick(*window, toggle.action);
    shows(toggle.twice);
    std::memcpy(expected.data() + toggle.offset, &toggle.twice, sizeof toggle.twice);
  }
  EXPECT_EQ(test::ReadBytes(file), expected);  // the whole record, nothing else changed
}

TEST_F(ChatDlgTest, EchoTogglesTheOwnRowOnlyWhileLoggedIn) {
  auto window = Open();
  auto* list = Control<CMemberList>(*window, id::kMemberList);
  Pick(*window, "actionEcho");
  Pick(*window, "actionEcho");
  LogIn(*window, "alice");
  Wire(1);
  QTest::qWait(50);  // five receive periods: the own announcement is read back (and dropped)
  EXPECT_EQ(list->RowCount(), 0);
  Pick(*window, "actionEcho");
  ASSERT_TRUE(ProcessUntil([&] { return list->RowCount() == 1; }));
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("alice"));
  Pick(*window, "actionEcho");
  EXPECT_TRUE(ProcessUntil([&] { return list->RowCount() == 0; }));
}

// A message from a member while the window hides in the tray, in each of the three modes.
TEST_F(ChatDlgTest, MessagesWhileHiddenAlertAsChosen) {
  const auto iconShown = [](CChatDlg& window, const QIcon& icon) {
    return window.Tray().Icon().pixmap(32).toImage() == icon.pixmap(32).toImage();
  };
  for (const std::int32_t mode : {0, 1, 2}) {
    SettingsRecord settings = test::PlainSettings();
    settings.nIconAction = mode;
    ChatDlgOptions options = network.OptionsFor(0, settings);
    options.trayAvailable = true;
    options.blinkPeriod = std::chrono::milliseconds(20);
    CChatDlg window(options);
    window.show();
    LogIn(window, "alice");
    window.Session().Members().AddMember("bob", MakeFixedText<16>(network.Address(1)));
    QTest::keyClick(Control(window, id::kMessageInput), Qt::Key_Escape);
    ASSERT_TRUE(window.IsIconic());
    auto peer = UdpCarrier::Open(network.Address(1), 0);
    const auto fromBob = [&](const std::string& text) {
      std::array<std::uint8_t, 200> packet{};
      const int payload = BuildChat(packet, code::kBcMsg, MakeFixedText<16>(network.Address(1)), MakeFixedText<50>("bob"),
                                    std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
      StampPacket(packet, payload, static_cast<std::uint32_t>(text.size()));
      peer->SendTo(std::span(packet).first(payload + kPacketOverhead), network.Address(0), options.carriers.slotPort);
    };
    fromBob("one");
    if (mode == 0) {
      EXPECT_TRUE(ProcessUntil([&] { return window.isVisible() && !window.IsIconic(); }));
    } else if (mode == 1) {
      fromBob("second");
      ASSERT_TRUE(ProcessUntil([&] { return Lines(window).size() == 8; }));
      const std::string stars(31, '*'), banner = " ここからがアイコン中のメッセージ";
      EXPECT_EQ(Lines(window), (std::vector<std::string>{stars, banner, stars, "bob > one",
                                                         stars, banner, stars, "bob > second"}));
      ASSERT_EQ(boxes.Boxes().size(), 2u);
      EXPECT_EQ(boxes.Boxes()[1].text, "< bob > の発言がありました！");
      EXPECT_EQ(boxes.Boxes()[1].style, MB_ICONINFORMATION | MB_TOPMOST | MB_NOWAIT);
      EXPECT_FALSE(window.isVisible());
    } else {
      // The alert icon first, then the main icon, in turn, until the icon is double-clicked.
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(window, AlertIcon()); }));
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(window, MainIcon()); }));
      EXPECT_TRUE(ProcessUntil([&] { return iconShown(window, AlertIcon()); }));
      EXPECT_FALSE(window.isVisible());
      emit window.Tray().DoubleClicked();
      QTest::qWait(60);  // three blink periods
      EXPECT_TRUE(iconShown(window, MainIcon()));
      EXPECT_TRUE(window.isVisible());
    }
  }
}

TEST_F(ChatDlgTest, TypedCommandsAndTheirNearMisses) {
  SettingsRecord settings = test::PlainSettings();
  std::strcpy(settings.szPhrase[2], "phrase three");
  auto window = Open(settings);
  LogIn(*window, "alice");
  Wire(1);
  for (const char* text : {"Clear", "Bye", "bye ", "byebye", "m6", "m0", "M3"}) Say(*window, text);
  std::vector<std::string> sent;
  for (const auto& datagram : Wire(7)) sent.push_back(std::string(PacketView(datagram.bytes).Text()));
  EXPECT_EQ(sent, (std::vector<std::string>{"Clear", "Bye", "bye ", "byebye", "m6", "m0", "phrase three"}));
  EXPECT_EQ(Lines(*window).back(), "alice > phrase three");
  EXPECT_TRUE(Control<QLineEdit>(*window, id::kMessageInput)->text().isEmpty());

  Say(*window, "clearing the table");
  EXPECT_TRUE(Lines(*window).empty());
  EXPECT_TRUE(Wire(1, 100).empty());
  Say(*window, "CLEAR");
  Say(*window, "");
  EXPECT_TRUE(Wire(1, 100).empty());
  Say(*window, "BYE");
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 0);
}

TEST_F(ChatDlgTest, SelectedMembersGetOneSelectiveMessageEachInListOrder) {
  auto window = Open();
  LogIn(*window, "alice");
  for (const char* member : {"127.0.0.31", "127.0.0.32", "127.0.0.33"})
    window->Session().Members().AddMember(std::string("m") + member, MakeFixedText<16>(member));
  auto* list = Control<CMemberList>(*window, id::kMemberList);
  ASSERT_TRUE(ProcessUntil([&] { return list->RowCount() == 3; }));
  list->topLevelItem(2)->setSelected(true);
  list->topLevelItem(0)->setSelected(true);
  Wire(1);
  Say(*window, QStringLiteral("内緒"));
  const auto wire = Wire(3);
  ASSERT_EQ(wire.size(), 2u);
  EXPECT_EQ(TextOf(PacketView(wire[0].bytes).Target()), "127.0.0.31");
  EXPECT_EQ(TextOf(PacketView(wire[1].bytes).Target()), "127.0.0.33");
  EXPECT_TRUE(PacketView(wire[1].bytes).HasCode(code::kSlMsg));
  EXPECT_EQ(Lines(*window), std::vector<std::string>{"alice > 内緒"});
}

TEST_F(ChatDlgTest, TextsPeersCouldNotReadAreRefusedAndKept) {
  auto window = Open();
  LogIn(*window, "alice");
  Wire(1);
  Say(*window, QString(933, 'x'));
  EXPECT_TRUE(Wire(1, 100).empty());
  EXPECT_EQ(Lines(*window).back(), "*** メッセージが長すぎます（932バイトまで） ***");
  EXPECT_EQ(Control<QLineEdit>(*window, id::kMessageInput)->text().size(), 933);
  // 466 Japanese characters are 932 bytes: they go.
  Say(*window, QString(466, QChar(0x3042)));
  const auto wire = Wire(1);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_EQ(wire[0].bytes.size(), 92u + 932u);
}

TEST_F(ChatDlgTest, EscapeHidesWithoutClosing) {
  auto window = Open();
  QTest::keyClick(Control(*window, id::kHandleInput), Qt::Key_Escape);
  ProcessUntil([] { return true; });
  // No notification area here: the window is minimised, not hidden.
  EXPECT_TRUE(window->isMinimized());
  EXPECT_TRUE(window->IsIconic());
  EXPECT_EQ(window->result(), 0);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(ChatDlgTest, EscapeHidesIntoTheTrayWhereThereIsOne) {
  ChatDlgOptions options = network.OptionsFor(0);
  options.trayAvailable = true;
  CChatDlg window(options);
  window.show();
  QTest::keyClick(Control(window, id::kMessageList), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.IsIconic());
  emit window.Tray().DoubleClicked();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.IsIconic());
  EXPECT_EQ(window.focusWidget(), Control(window, id::kHandleInput));
}

TEST_F(ChatDlgTest, StartsFromItsSettings) {
  SettingsRecord settings{};  // a new, empty file: equal colours
  settings.bAutoLogin = 1;
  std::strcpy(settings.szDefaultName, Utf8ToCp932("花子").c_str());
  settings.nLogMode = 1;
  std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
  settings.nAddrCount = 2;
  std::strcpy(settings.szAddrIP[0], "127.0.0.41");
  std::memcpy(settings.szAddrIP[1], "127.000.000.0042", 16);  // no terminator: all 16 bytes count
  settings.nOutDomainMode = 0;  // registered addresses are used at start all the same
  auto window = Open(settings);
  EXPECT_EQ(window->Session().State().m_bLoggedIn.load(), 1);
  const OutDomainList outDomain = window->Session().OutDomain().Snapshot();
  EXPECT_EQ(outDomain.m_nOutDomainCount, 2);
  EXPECT_EQ(TextOf(outDomain.m_outDomainAddrs[1]), "127.000.000.0042");
  EXPECT_TRUE(window->Log().LogOn());
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "表示エリアの背景色と文字色が同じです！");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONINFORMATION | MB_TOPMOST);
}

TEST_F(ChatDlgTest, WindowWithoutItsCarriersStillOpens) {
  CarrierConfig taken;
  taken.slotAddress = network.Address(0);
  auto options = network.OptionsFor(0);
  taken.slotPort = options.carriers.slotPort;
  const auto holder = BroadcastSlot::Open(taken);
  ASSERT_NE(holder, nullptr);
  CChatDlg window(options);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "メールスロットの作成に失敗しました");
  EXPECT_FALSE(window.Session().CarriersOpen());
}

TEST_F(ChatDlgTest, LinesFromTheReceiveThreadAreShownInTheOrderLogged) {
  SettingsRecord settings = test::PlainSettings();
  settings.nLogMode = 1;
  std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
  auto window = Open(settings);
  LogIn(*window, "alice");
  CChatDlg peer(network.OptionsFor(1));
  peer.show();
  LogIn(peer, "bob");
  ASSERT_TRUE(ProcessUntil([&] { return window->MemberCount() == 1; }));
  for (int i = 0; i < 30; ++i) Say(peer, QString::number(i));
  ASSERT_TRUE(ProcessUntil([&] { return Lines(*window).size() >= 31; }));
  std::vector<std::string> logged;
  std::istringstream log(test::ReadBytes(network.LogFile(0)));
  for (std::string line; std::getline(log, line);) {
    line = line.substr(27, line.size() - 28);  // stamp, CR
    if (line.rfind("bob > ", 0) == 0 || line.find("***") == 0) logged.push_back(Cp932ToUtf8(line));
  }
  const auto shown = Lines(*window);
  EXPECT_EQ(std::vector<std::string>(logged.end() - 30, logged.end()),
            std::vector<std::string>(shown.end() - 30, shown.end()));
}

TEST_F(ChatDlgTest, ClosingWhileTheReceiveThreadWaitsForTheWindowDoesNotHang) {
  auto window = Open();
  LogIn(*window, "alice");
  // A refusal of the handle: the receive thread asks the window's thread to log out and
  // waits, while this thread, busy closing the window, handles no events.
  std::array<std::uint8_t, 26> packet{};
  StampPacket(packet, BuildLogoutRequest(packet, MakeFixedText<16>(network.Address(0))), 7);
  auto sender = UdpCarrier::Open("127.0.0.1", 0);
  sender->SendTo(packet, network.Address(0), network.OptionsFor(0).carriers.slotPort);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  window->close();
  window.reset();  // returns: the waiting receive thread was let go
  SUCCEED();
}

}  // namespace
}  // namespace korvane
