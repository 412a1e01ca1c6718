// SPDX-License-Identifier: MIT
#pragma once
// The window's icon in the desktop's notification area, with the member count as tooltip.

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace korvane {

class TrayIcon : public QObject {
  Q_OBJECT

 public:
  explicit TrayIcon(QObject* parent = nullptr);

  // False on desktops without a notification area: the icon would be no way back.
  static bool Available();

  void AddTrayIcon(const QIcon& icon, int memberCount);
  void UpdateTrayTip(const QIcon& icon, int memberCount);
  void RemoveTrayIcon();
  // The menu of a right click on the icon.
  void SetMenu(QMenu* menu) { icon_.setContextMenu(menu); }

  bool Shown() const { return icon_.isVisible(); }
  QString ToolTip() const { return icon_.toolTip(); }
  QIcon Icon() const { return icon_.icon(); }
  QMenu* Menu() const { return icon_.contextMenu(); }

 signals:
  // The icon double-clicked, or clicked where the notification area knows no double click.
  void DoubleClicked();

 private:
  QSystemTrayIcon icon_;
};

}  // namespace korvane
