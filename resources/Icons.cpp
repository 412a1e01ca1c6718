// SPDX-License-Identifier: MIT
#include "resources/Icons.h"

#include <QPixmap>
#include <QString>

// A static library's resources are not registered on their own. The macro declares the
// registration function where it is used, so it must be used outside every namespace, the
// unnamed one included.
static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace {

QString Registered(const QString& path) {
  static const bool registered = (RegisterResources(), true);
  static_cast<void>(registered);
  return path;
}

QIcon Load(const QString& path) { return QIcon(Registered(path)); }

constexpr int kToolbarImageWidth = 16;
constexpr int kToolbarImageHeight = 15;

}  // namespace

namespace korvane {

QIcon MainIcon() { return Load(QStringLiteral(":/icons/main128.xpm")); }

QIcon AlertIcon() { return Load(QStringLiteral(":/icons/alert177.xpm")); }

QIcon ToolbarImage(int index) {
  static const QPixmap strip(Registered(QStringLiteral(":/toolbar/toolbar190.xpm")));
  return QIcon(strip.copy(index * kToolbarImageWidth, 0, kToolbarImageWidth, kToolbarImageHeight));
}

}  // namespace korvane
