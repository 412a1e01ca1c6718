// SPDX-License-Identifier: MIT
#include "display/TrayIcon.h"

#include <string>

#include "platform/StatusNotifierHost.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

QString TipFor(int memberCount) {
  return QString::fromUtf8(FillFormat(text::kTrayTip, {std::to_string(memberCount)}));
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  // Where the notification area never reports a double click, the click stands for it:
  // otherwise a window hidden there could not be brought back.
  const bool clickOnly = StatusNotifierHostRunning();
  connect(&icon_, &QSystemTrayIcon::activated, this, [this, clickOnly](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::DoubleClick || (clickOnly && why == QSystemTrayIcon::Trigger)) emit DoubleClicked();
  });
}

bool TrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::AddTrayIcon(const QIcon& icon, int memberCount) {
  UpdateTrayTip(icon, memberCount);
  icon_.show();
}

void TrayIcon::UpdateTrayTip(const QIcon& icon, int memberCount) {
  icon_.setIcon(icon);
  icon_.setToolTip(TipFor(memberCount));
}

void TrayIcon::RemoveTrayIcon() { icon_.hide(); }

}  // namespace korvane
