#include "display/CMessageList.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include "platform/CodePage.h"

namespace korvane {
namespace {

constexpr int kRowHeight = 13;

class CMessageListTest : public testing::Test {
 protected:
  CMessageListTest() { list.resize(300, 200); }

  // The viewport as painted now, without the frame and scroll bars.
  QImage Painted() { return list.grab(list.viewport()->geometry()).toImage(); }

  static int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
  }

  CMessageList list;
};

TEST_F(CMessageListTest, AppendsInOrderAndEmptiesOnReset) {
  list.show();
  list.AppendLine(Utf8ToCp932("こんにちは"));
  for (int i = 1; i < 40; ++i) list.AppendLine("line " + std::to_string(i));
  EXPECT_EQ(list.LineCount(), 40);
  EXPECT_EQ(list.LineText(0), QStringLiteral("こんにちは"));
  EXPECT_EQ(list.LineText(39), QStringLiteral("line 39"));
  EXPECT_EQ(list.LineText(40), QString());
  QScrollBar* vertical = list.verticalScrollBar();
  EXPECT_EQ(vertical->value(), 0);
  // Whole lines: the last line is in view when the rows above it fill the client area.
  EXPECT_EQ(vertical->maximum(), 40 - list.viewport()->height() / kRowHeight);
  list.ShowLastLine();
  EXPECT_EQ(vertical->value(), vertical->maximum());
  list.resize(300, 400);
  EXPECT_EQ(vertical->maximum(), 40 - list.viewport()->height() / kRowHeight);

  list.ResetContent();
  EXPECT_EQ(list.LineCount(), 0);
  EXPECT_EQ(vertical->maximum(), 0);
  EXPECT_TRUE(vertical->isVisible());
  EXPECT_TRUE(list.horizontalScrollBar()->isVisible());
}

TEST_F(CMessageListTest, HorizontalRangeComesOnlyFromTheExtent) {
  const int clientWidth = list.ClientWidth();  // known before the first layout
  list.show();
  EXPECT_EQ(clientWidth, list.viewport()->width());
  QScrollBar* horizontal = list.horizontalScrollBar();
  list.AppendLine(std::string(500, 'W'));
  EXPECT_EQ(horizontal->maximum(), 0);
  list.SetHorizontalExtent(clientWidth + 120);
  EXPECT_EQ(horizontal->maximum(), 120);
  list.SetHorizontalExtent(clientWidth - 1);
  EXPECT_EQ(horizontal->maximum(), 0);
}

TEST_F(CMessageListTest, MeasuresInTheDialogFont) {
  // The 52 letters measure 369 pixels in the dialog font.
  EXPECT_EQ(list.MeasureText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 369);
}

TEST_F(CMessageListTest, PaintsInTheColoursOfTheSourceAtEveryPaint) {
  ColourPair colours{0x000000FF, 0x00FFEECC};  // red on a light blue
  list.SetColourSource([&colours] { return colours; });
  list.AppendLine(Utf8ToCp932("■■■■ 文字"));
  list.show();

  QImage image = Painted();
  EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0xCC, 0xEE, 0xFF));
  EXPECT_GT(PixelsOf(image, QColor(0xFF, 0, 0)), 20);

  // A new choice shows at the next paint; while the control is disabled its lines are greyed.
  colours = {0x0000FF00, 0x00000000};
  image = Painted();
  EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0, 0, 0));
  EXPECT_GT(PixelsOf(image, QColor(0, 0xFF, 0)), 20);
  list.setEnabled(false);
  image = Painted();
  EXPECT_EQ(PixelsOf(image, QColor(0, 0xFF, 0)), 0);
  EXPECT_GT(PixelsOf(image, list.palette().color(QPalette::Disabled, QPalette::Text)), 20);
}

TEST_F(CMessageListTest, PaintsTheLinesScrolledTo) {
  const ColourPair colours{0x00000000, 0x00FFFFFF};
  list.SetColourSource([&colours] { return colours; });
  list.show();
  for (int i = 0; i < 30; ++i) list.AppendLine(i == 29 ? "\x81\xA1\x81\xA1" : "");  // ■■ last
  EXPECT_EQ(PixelsOf(Painted(), Qt::black), 0);
  list.ShowLastLine();
  const QImage image = Painted();
  EXPECT_GT(PixelsOf(image, Qt::black), 20);
  // The last line is the bottom row.
  const int bottomRow = (image.height() / kRowHeight - 1) * kRowHeight;
  EXPECT_GT(PixelsOf(image.copy(0, bottomRow, image.width(), kRowHeight), Qt::black), 20);

  // Scrolled sideways past the text, nothing of it is left in view.
  list.SetHorizontalExtent(list.ClientWidth() + 100);
  list.horizontalScrollBar()->setValue(100);
  EXPECT_EQ(PixelsOf(Painted(), Qt::black), 0);
}

TEST_F(CMessageListTest, HoldsAHundredThousandLines) {
  list.show();
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 100000; ++i) list.AppendLine("member > message number " + std::to_string(i));
  list.ShowLastLine();
  const QImage image = Painted();
  RecordProperty("append_100000_ms", static_cast<int>(timer.elapsed()));
  EXPECT_EQ(list.LineCount(), 100000);
  EXPECT_EQ(list.verticalScrollBar()->maximum(), 100000 - list.viewport()->height() / kRowHeight);
  EXPECT_FALSE(image.isNull());
}

}  // namespace
}  // namespace korvane
