// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/CChatApp.h"
#include "app/CommandLine.h"
#include "platform/CaretBlinkTimeout.h"
#include "platform/DialogFont.h"
#include "platform/QtMessageBox.h"
#include "resources/Texts.h"
#include "resources/Version.h"

namespace {

korvane::CommandLine ReadCommandLine(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return korvane::ParseCommandLine(arguments);
}

}  // namespace

int main(int argc, char** argv) {
  using korvane::CommandLine;
  // Help and version are answered before Qt starts: they need no display.
  if (const CommandLine early = ReadCommandLine(argc, argv); early.action == CommandLine::Action::Help) {
    std::fputs(korvane::text::kUsage, stdout);
    return 0;
  } else if (early.action == CommandLine::Action::Version) {
    std::fputs(korvane::FillFormat(korvane::text::kVersionLine, {korvane::kProgramVersion}).c_str(), stdout);
    return 0;
  }
  QApplication application(argc, argv);  // takes Qt's own options out of argv
  const CommandLine line = ReadCommandLine(argc, argv);
  if (line.action == CommandLine::Action::Refuse) {
    std::fputs(line.refusal.c_str(), stderr);
    return 2;
  }
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
  korvane::ChatDlgOptions options;
  options.namedAddress = line.address;
  korvane::CChatApp(options).InitInstance();
  return 0;
}
