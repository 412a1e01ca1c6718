#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSet>

#include "resources/Icons.h"

namespace korvane {
namespace {

// A pixmap is never scaled up, so asking for more shows the size the picture was drawn at.
QImage Picture(const QIcon& icon) {
  return icon.pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32);
}

qsizetype DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours.size();
}

TEST(Icons, BothAre32By32WithAtMost16Colours) {
  for (const QIcon& icon : {MainIcon(), AlertIcon()}) {
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    const QImage image = Picture(icon);
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_LE(DistinctColours(image), 16);
  }
}

TEST(Icons, AlertIconDiffersFromTheMainIcon) {
  const QImage main = Picture(MainIcon());
  const QImage alert = Picture(AlertIcon());
  ASSERT_EQ(main.size(), alert.size());
  EXPECT_NE(main, alert);
}

TEST(Icons, MainIconHasATransparentBackground) {
  const QImage main = Picture(MainIcon());
  EXPECT_EQ(qAlpha(main.pixel(0, 31)), 0);
  EXPECT_EQ(qAlpha(main.pixel(16, 20)), 255);
}

}  // namespace
}  // namespace korvane
