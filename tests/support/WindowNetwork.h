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
#include "tests/support/PacketCapture.h"
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

class WindowNetwork {
 public:
  explicit WindowNetwork(int hosts) {
    for (int i = 0; i < hosts; ++i) addresses_.push_back("127.0.0." + std::to_string(20 + i));
    std::tie(slotPort_, udpPort_) = FreePortPair(addresses_);
  }

  std::string Address(int host) const { return addresses_.at(host); }
  std::string LogFile(int host) const { return folder.Path("chat-" + std::to_string(host) + ".log"); }

  // Options for host's window, its settings file written from settings first.
  ChatDlgOptions OptionsFor(int host, SettingsRecord settings = PlainSettings()) {
    ChatDlgOptions options;
    options.ownAddress = addresses_.at(host);
    options.carriers.slotAddress = addresses_.at(host);
    options.carriers.slotPort = slotPort_;
    options.carriers.udpPort = udpPort_;
    for (const std::string& address : addresses_) options.carriers.broadcastDestinations.push_back({address, slotPort_});
    options.carriers.broadcastDestinations.push_back({"127.0.0.1", tap.Port()});
    options.receivePeriod = std::chrono::milliseconds(10);
    options.settingsFile = folder.Path("TOOLBOX-" + std::to_string(host));
    options.trayAvailable = false;
    WriteSettingsFile(settings, options.settingsFile);
    return options;
  }

  TempFolder folder;
  PacketCapture tap;

 private:
  std::vector<std::string> addresses_;
  std::uint16_t slotPort_ = 0;
  std::uint16_t udpPort_ = 0;
};

// Lets queued display changes and timers run until condition holds (bounded).
inline bool ProcessUntil(const std::function<bool()>& condition,
                         std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QTest::qWait(2);
  }
  return true;
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
