#pragma once
// Real main windows on loopback hosts 127.0.0.20, .21, ...: each with its own settings
// file and chat log in a temporary folder, broadcasts reaching every window and a wire tap.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "display/CMessageList.h"
#include "platform/CodePage.h"
#include "settings/SettingsFile.h"
#include "tests/support/Controls.h"
#include "tests/support/Loopback.h"
#include "tests/support/TempFolder.h"
#include "window/CChatDlg.h"

namespace korvane::test {

// Settings a tester would start from: readable colours, system messages shown.
inline SettingsRecord PlainSettings() {
  SettingsRecord settings{};
  settings.crText = 0x000000;
  settings.crBack = 0xFFFFFF;
  settings.bShowSysMsg = 1;
  return settings;
}

class WindowNetwork : public LoopbackHosts {
 public:
  explicit WindowNetwork(int hosts) : LoopbackHosts(hosts, 20) {}
  std::string LogFile(int host) const { return folder.Path("chat-" + std::to_string(host) + ".log"); }
  // Options for host's window, its settings file written from settings first.
  ChatDlgOptions OptionsFor(int host, SettingsRecord settings = PlainSettings()) {
    ChatDlgOptions options;
    options.ownAddress = Address(host);
    options.carriers = CarriersOf(host);
    options.receivePeriod = std::chrono::milliseconds(10);
    options.settingsFile = folder.Path("TOOLBOX-" + std::to_string(host));
    options.trayAvailable = false;
    WriteSettingsFile(settings, options.settingsFile);
    return options;
  }
  TempFolder folder;
};

// Lets queued display changes and timers run until condition holds (bounded).
inline bool ProcessUntil(const std::function<bool()>& condition,
                         std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  return WaitUntil(condition, limit, [] { QApplication::processEvents(QEventLoop::AllEvents, 5); });
}

// Types text (any script) into edit and presses Enter there.
inline void TypeAndEnter(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->clear();
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(edit, &commit);
  QTest::keyClick(edit, Qt::Key_Return);
}

inline std::vector<std::string> DisplayedLines(const CMessageList& list) {
  std::vector<std::string> lines;
  for (int row = 0; row < list.LineCount(); ++row) lines.push_back(list.LineText(row).toStdString());
  return lines;
}

}  // namespace korvane::test
