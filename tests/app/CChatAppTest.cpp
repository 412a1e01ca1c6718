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
#include "window/CChatDlg.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowNetwork.h"

namespace korvane {
namespace {

std::string InstanceName() { return "KorvaneAppTest-" + std::to_string(::getpid()); }

// Closes the program's window, as its close box does, once it has run a while.
void CloseSoon() {
  QTimer::singleShot(200, [] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (qobject_cast<CChatDlg*>(window) != nullptr) window->close();
  });
}

// Quits through the tray icon's menu, as a person does while the window hides in the tray.
void QuitFromTheTraySoon() {
  QTimer::singleShot(200, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<CChatDlg*>(window)) {
        for (QAction* item : dialog->Tray().Menu()->actions())
          if (item->text() == QStringLiteral("Korvaneの終了")) item->trigger();
      }
    }
  });
}

int ByesOnTheWire(test::PacketCapture& tap) {
  int byes = 0;
  for (const auto& datagram : tap.Take(100, std::chrono::milliseconds(300)))
    if (PacketView(datagram.bytes).HasCode(code::kCmdBye)) ++byes;
  return byes;
}

TEST(CChatApp, ExitWhileLoggedInAnnouncesTheDepartureThreeTimes) {
  test::MessageBoxRecorder boxes;
  test::WindowNetwork network(1);
  SettingsRecord settings = test::PlainSettings();
  settings.bAutoLogin = 1;
  std::strcpy(settings.szDefaultName, "alice");
  settings.nLogMode = 1;
  std::strcpy(settings.szLogFile, network.LogFile(0).c_str());
  CloseSoon();
  CChatApp(network.OptionsFor(0, settings), InstanceName()).InitInstance();
  EXPECT_EQ(ByesOnTheWire(network.tap), 3);
  // The receive loop had ended, and said so, before the window was gone.
  const std::string log = test::ReadBytes(network.LogFile(0));
  EXPECT_NE(log.find("Already Mailslot was closed"), std::string::npos);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(CChatApp, TerminationSignalClosesLikeTheCloseBox) {
  test::WindowNetwork network(1);
  SettingsRecord settings = test::PlainSettings();
  settings.bAutoLogin = 1;
  std::strcpy(settings.szDefaultName, "alice");
  QTimer::singleShot(200, [] { ::kill(::getpid(), SIGTERM); });
  CChatApp(network.OptionsFor(0, settings), InstanceName()).InitInstance();
  EXPECT_EQ(ByesOnTheWire(network.tap), 3);
}

TEST(CChatApp, HidingIntoTheTrayKeepsTheProgramRunning) {
  test::WindowNetwork network(1);
  ChatDlgOptions options = network.OptionsFor(0);
  options.trayAvailable = true;
  bool hiddenAndRunning = false;
  bool backAfterDoubleClick = false;
  const auto window = [] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<CChatDlg*>(widget)) return dialog;
    return static_cast<CChatDlg*>(nullptr);
  };
  QObject steps;  // the steps end with the test, also when the run ends early
  QTimer::singleShot(200, &steps, [&] { QTest::keyClick(window(), Qt::Key_Escape); });
  QTimer::singleShot(400, &steps, [&] {
    hiddenAndRunning = window() != nullptr && !window()->isVisible();
    emit window()->Tray().DoubleClicked();
  });
  QTimer::singleShot(600, &steps, [&] {
    backAfterDoubleClick = window()->isVisible();
    window()->close();
  });
  CChatApp(options, InstanceName()).InitInstance();
  EXPECT_TRUE(hiddenAndRunning);
  EXPECT_TRUE(backAfterDoubleClick);
}

TEST(CChatApp, QuitFromTheTrayWhileLoggedOutEndsTheRunAndAnnouncesNothing) {
  test::WindowNetwork network(1);
  QuitFromTheTraySoon();
  // A quit that does nothing fails here instead of hanging the run.
  const QObject guard;
  bool closedByTheTest = false;
  QTimer::singleShot(3000, &guard, [&] {
    closedByTheTest = true;
    CloseSoon();
  });
  CChatApp(network.OptionsFor(0), InstanceName()).InitInstance();
  EXPECT_FALSE(closedByTheTest);
  EXPECT_EQ(ByesOnTheWire(network.tap), 0);
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
