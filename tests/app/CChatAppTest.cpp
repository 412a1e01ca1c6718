// The whole program's run: one copy per host, the modal window, the departure.

#include "app/CChatApp.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "display/TrayIcon.h"
#include "platform/SingleInstanceGuard.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"
#include "window/CChatDlg.h"

namespace korvane {
namespace {

std::string InstanceName() { return "KorvaneAppTest-" + std::to_string(::getpid()); }

CChatDlg* Window() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<CChatDlg*>(widget)) return dialog;
  return nullptr;
}

// Each way out ends the run, announcing the departure three times if logged in, also from
// the tray; only hiding there does not.
TEST(CChatApp, EachWayOutEndsTheRun) {
  const auto trayQuit = [] {
    for (QAction* item : Window()->Tray().Menu()->actions())
      if (item->text() == QStringLiteral("Korvaneの終了")) item->trigger();
  };
  const struct {
    bool loggedIn, tray;
    std::vector<std::function<void()>> steps;  // 200 ms apart
    int byes;
  } cases[] = {
      {true, false, {[] { Window()->close(); }}, 3},
      {true, false, {[] { ::kill(::getpid(), SIGTERM); }}, 3},
      {false, true, {[] { QTest::keyClick(Window(), Qt::Key_Escape); }, [] { emit Window()->Tray().DoubleClicked(); },
                      [] { QTest::keyClick(Window(), Qt::Key_Escape); }, trayQuit}, 0},
      {true, true, {[] { QTest::keyClick(Window(), Qt::Key_Escape); }, [] { ::kill(::getpid(), SIGTERM); }}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    test::MessageBoxRecorder boxes;
    test::WindowNetwork network(1);
    SettingsRecord settings = test::PlainSettings();
    settings.bAutoLogin = c.loggedIn ? 1 : 0;
    std::strcpy(settings.szDefaultName, "alice");
    settings.nLogMode = 1;
    std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
    ChatDlgOptions options = network.OptionsFor(0, settings);
    options.trayAvailable = c.tray;
    const QObject run;  // its timers end with the run
    std::size_t stepsRun = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i)
      QTimer::singleShot(200 * static_cast<int>(i + 1), &run, [&, i] { c.steps[i](), ++stepsRun; });
    bool closedByTheTest = false;  // a way out that does nothing fails here instead of hanging
    QTimer::singleShot(3000, &run, [&] { closedByTheTest = true, Window()->reject(); });
    CChatApp(options, InstanceName()).InitInstance();
    EXPECT_EQ(stepsRun, c.steps.size());
    EXPECT_FALSE(closedByTheTest);
    int byes = 0;
    for (const auto& datagram : network.tap.Take(100, std::chrono::milliseconds(300)))
      byes += PacketView(datagram.bytes).HasCode(code::kCmdBye);
    EXPECT_EQ(byes, c.byes);
    // The receive loop had ended, and said so, before the window was gone.
    EXPECT_NE(test::ReadBytes(network.LogFile(0)).find("Already Mailslot was closed"), std::string::npos);
    EXPECT_TRUE(boxes.Boxes().empty());
  }
}

TEST(CChatApp, SecondCopyIsRefusedAndTheFirstUntouched) {
  test::MessageBoxRecorder boxes;
  test::WindowNetwork network(1);
  const SingleInstanceGuard first(InstanceName());
  CChatApp(network.OptionsFor(0), InstanceName()).InitInstance();  // returns at once
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "二重起動はできません！");
  EXPECT_EQ(boxes.Boxes()[0].style, MB_ICONEXCLAMATION);
  EXPECT_TRUE(SingleInstanceGuard(InstanceName()).AlreadyRunning());
}

}  // namespace
}  // namespace korvane
