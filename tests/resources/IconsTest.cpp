#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QSet>

#include "resources/Icons.h"

namespace korvane {
namespace {

// Two different pictures of 32 x 32 in at most 16 colours, the main one on a transparent ground.
TEST(Icons, AreTwoDifferent32By32PicturesOfAtMost16Colours) {
  std::vector<QImage> pictures;
  for (const QIcon& icon : {MainIcon(), AlertIcon()}) {
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    // Never scaled up: asking for more shows the size the picture was drawn at.
    const QImage image = icon.pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    pictures.push_back(image);
  }
  EXPECT_NE(pictures[0], pictures[1]);
  EXPECT_EQ(qAlpha(pictures[0].pixel(0, 31)), 0);
  EXPECT_EQ(qAlpha(pictures[0].pixel(16, 20)), 255);
}

}  // namespace
}  // namespace korvane
