#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/DialogFont.h"

namespace korvane {
namespace {

TEST(DialogFont, IsTheJapaneseProportionalGothicWithTheTemplatesBaseUnits) {
  const QFont font = DialogFont();
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
  const DialogBaseUnits base = MeasureBaseUnits(font);
  EXPECT_EQ(base.x, 7);
  EXPECT_EQ(base.y, 13);
  // The main window's 283 x 183 units.
  EXPECT_EQ(HorizontalPixels(283, base), 495);
  EXPECT_EQ(VerticalPixels(183, base), 297);
}

}  // namespace
}  // namespace korvane
