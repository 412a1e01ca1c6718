// SPDX-License-Identifier: MIT
#pragma once
// What the main window takes from its surroundings. The program uses the defaults; tests
// put the carriers on loopback and shorten the timers.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/CarrierConfig.h"
#include "protocol/LivenessCheck.h"
#include "protocol/ReceiveLoop.h"
#include "settings/SettingsFile.h"

class QWidget;

namespace korvane {

struct ChatDlgOptions {
  // A fixed own address (tests). Empty: the host's address, namedAddress while an up
  // interface holds it, chosen when the window initialises and followed as the network
  // changes.
  std::string ownAddress;
  std::string namedAddress;  // --address
  CarrierConfig carriers;
  LivenessIntervals liveness;
  // The longest the receive loop waits between cycles; by default only a datagram or the
  // close wakes it.
  std::chrono::milliseconds receivePeriod = ReceiveLoop::kNoBound;
  std::chrono::milliseconds blinkPeriod{500};  // the tray icon's, while it alerts
  std::string settingsFile = kSettingsFileName;
  std::optional<bool> trayAvailable;  // unset: ask the desktop
  std::function<void(QWidget& owner)> showAbout;  // runs the about box; the program sets it
};

}  // namespace korvane
