#include "display/TrayIcon.h"

namespace korvane {
namespace {

QString TipFor(int memberCount) {
  return QStringLiteral("Korvane - connection is <%1>").arg(memberCount);
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::DoubleClick) emit DoubleClicked();
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
