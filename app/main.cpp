#include <QApplication>

#include "app/CChatApp.h"
#include "platform/CaretBlinkTimeout.h"
#include "platform/DialogFont.h"
#include "platform/QtMessageBox.h"
#include "resources/Version.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The main window's own run is the program's only event loop: hiding it in the tray, or
  // closing a message box while it hides, must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  // The window's class (WM_CLASS "korvane", "Korvane") and, on Wayland, its application id are
  // what task bars match against the menu entry.
  QApplication::setApplicationName(QStringLiteral("Korvane"));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(korvane::kDesktopId));
  korvane::InstallDialogFont();
  korvane::InstallQtMessageBox();
  const korvane::CaretBlinkTimeout caretBlink;
  korvane::CChatApp().InitInstance();
  return 0;
}
