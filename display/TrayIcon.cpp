#include "display/TrayIcon.h"

#include <string>

#include "resources/Texts.h"

namespace korvane {
namespace {

QString TipFor(int memberCount) {
  return QString::fromUtf8(FillFormat(text::kTrayTip, {std::to_string(memberCount)}));
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
