#include "display/CMessageList.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>

#include "platform/CodePage.h"

namespace korvane {
namespace {

constexpr int kRowHeight = 13;

int PixelsOf(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  return count;
}

// Scrolling by whole lines, a horizontal range set only by the extent, and painting in the
// colours the source gives at each paint, greyed while disabled.
TEST(CMessageListTest, ScrollsByWholeLinesAndPaintsInTheSourcesColours) {
  CMessageList list;
  list.resize(300, 200);
  ColourPair colours{0x000000FF, 0x00FFEECC};  // red on a light blue
  list.SetColourSource([&colours] { return colours; });
  const int clientWidth = list.ClientWidth();  // known before the first layout
  list.show();
  EXPECT_EQ(clientWidth, list.viewport()->width());
  EXPECT_EQ(list.MeasureText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 369);  // the dialog font
  for (int i = 0; i < 39; ++i) list.AppendLine("");
  list.AppendLine(Utf8ToCp932("■■■■ 文字"));
  const int rows = list.viewport()->height() / kRowHeight;
  const auto bottomRow = [&] {
    const QImage image = list.grab(list.viewport()->geometry()).toImage();
    return image.copy(0, (rows - 1) * kRowHeight, image.width(), kRowHeight);
  };
  QScrollBar* vertical = list.verticalScrollBar();
  EXPECT_EQ(vertical->maximum(), 40 - rows);
  EXPECT_EQ(PixelsOf(bottomRow(), Qt::red), 0);
  list.ShowLastLine();  // the last line becomes the bottom row
  EXPECT_EQ(vertical->value(), vertical->maximum());
  QImage row = bottomRow();
  EXPECT_GT(PixelsOf(row, Qt::red), 20);
  EXPECT_EQ(row.pixelColor(row.width() - 2, row.height() - 2), QColor(0xCC, 0xEE, 0xFF));

  colours = {0x0000FF00, 0x00000000};
  EXPECT_GT(PixelsOf(bottomRow(), Qt::green), 20);
  list.setEnabled(false);
  row = bottomRow();
  EXPECT_EQ(PixelsOf(row, Qt::green), 0);
  EXPECT_GT(PixelsOf(row, list.palette().color(QPalette::Disabled, QPalette::Text)), 20);
  list.setEnabled(true);

  QScrollBar* horizontal = list.horizontalScrollBar();
  EXPECT_EQ(horizontal->maximum(), 0);
  list.SetHorizontalExtent(clientWidth + 120);
  EXPECT_EQ(horizontal->maximum(), 120);
  horizontal->setValue(120);  // past the text: none of it in view
  EXPECT_EQ(PixelsOf(bottomRow(), Qt::green), 0);
  list.SetHorizontalExtent(clientWidth - 1);
  EXPECT_EQ(horizontal->maximum(), 0);

  list.ResetContent();
  EXPECT_EQ(list.LineCount(), 0);
  EXPECT_EQ(vertical->maximum(), 0);
  EXPECT_TRUE(vertical->isVisible() && horizontal->isVisible());
}

}  // namespace
}  // namespace korvane
