#include "resources/Icons.h"

#include <QString>

// A static library's resources are not registered on their own. The macro declares the
// registration function where it is used, so it must be used outside every namespace, the
// unnamed one included.
static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace {

QIcon Load(const QString& path) {
  static const bool registered = (RegisterResources(), true);
  static_cast<void>(registered);
  return QIcon(path);
}

}  // namespace

namespace korvane {

QIcon MainIcon() { return Load(QStringLiteral(":/icons/main128.xpm")); }

QIcon AlertIcon() { return Load(QStringLiteral(":/icons/alert177.xpm")); }

}  // namespace korvane
