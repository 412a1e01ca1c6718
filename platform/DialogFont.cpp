// SPDX-License-Identifier: MIT
#include "platform/DialogFont.h"

#include <QFontMetrics>
#include <QString>

namespace korvane {
namespace {
const QString kFamily = QStringLiteral("ＭＳ Ｐゴシック");
}

void InstallDialogFont() {
  for (const QString& name : {kFamily, QStringLiteral("MS PGothic")})
    QFont::insertSubstitution(name, QStringLiteral("IPAPGothic"));
}

QFont DialogFont() {
  QFont font(kFamily);
  font.setPixelSize(12);
  return font;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {BaseUnitXFromLetters(letters), metrics.height()};
}

}  // namespace korvane
