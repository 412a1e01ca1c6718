// SPDX-License-Identifier: MIT
// The main window's two lists on the offscreen platform: the messages and the members.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "display/CMemberList.h"
#include "display/CMessageList.h"
#include "platform/CodePage.h"

namespace korvane {
namespace {

int PixelsOf(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  return count;
}

// Lines are painted in the colours the source gives at each paint, greyed while disabled. A
// list box's bars: none while all fits; past the height the vertical one, and with it the
// horizontal one, since the lines' extent is the width measured without a vertical bar.
TEST(CMessageListTest, PaintsInTheSourcesColoursAndScrollsOnlyWhatDoesNotFit) {
  CMessageList list;
  list.resize(300, 7 * QFontMetrics(list.font()).height() + 2 * list.frameWidth());
  EXPECT_EQ(list.ClientWidth(), 300 - 2 * list.frameWidth());  // before it is shown, with no bar taken off
  list.SetHorizontalExtent(list.ClientWidth());
  ColourPair colours{0x000000FF, 0x00FFEECC};  // red on a light blue
  list.SetColourSource([&colours] { return colours; });
  list.show();
  const auto bars = [&list] {
    QApplication::processEvents();
    return std::pair(list.verticalScrollBar()->isVisible(), list.horizontalScrollBar()->isVisible());
  };
  for (int line = 0; line < 7; ++line) list.AppendLine(line == 0 ? Utf8ToCp932("■■■■") : "x");
  EXPECT_EQ(bars(), std::pair(false, false));
  const auto painted = [&list] { return list.grab(list.viewport()->geometry()).toImage(); };
  EXPECT_GT(PixelsOf(painted(), Qt::red), 20);
  colours = {0x0000FF00, 0x00000000};
  EXPECT_GT(PixelsOf(painted(), Qt::green), 20);
  list.setEnabled(false);
  EXPECT_GT(PixelsOf(painted(), list.palette().color(QPalette::Disabled, QPalette::Text)), 20);
  list.AppendLine("x");
  EXPECT_EQ(bars(), std::pair(true, true));
  EXPECT_GE(list.verticalScrollBar()->maximum(), 2);  // the horizontal bar takes a row's room or more
}

using Handles = std::vector<std::string>;

// Sorted by bytes: "Bob" 42, "alice" 61, "Ａ" 82 60, "あ" 82 A0 (in Unicode あ comes before Ａ),
// each click in turn the other way; rows are known by address whatever their order.
TEST(CMemberListTest, ClicksSortByBytesAndRowsAreKnownByAddress) {
  CMemberList list;
  for (const auto& [handle, address] : {std::pair{"alice", "10.0.0.9"}, {"Bob", "10.0.0.10"}, {"あ", "10.0.0.3"},
                                        {"Ａ", "10.0.0.2"}})
    list.AppendMember(Utf8ToCp932(handle), MakeFixedText<16>(address));
  list.show();  // so that the header has sections to click
  EXPECT_EQ(list.columnWidth(1), 0);  // addresses are kept, not shown
  const auto shown = [&list] {
    Handles handles;
    for (int row = 0; row < list.RowCount(); ++row) handles.push_back(list.topLevelItem(row)->text(0).toStdString());
    return handles;
  };
  for (const Handles& sorted : {Handles{"Bob", "alice", "Ａ", "あ"}, Handles{"あ", "Ａ", "alice", "Bob"}}) {
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, {5, list.header()->height() / 2});
    EXPECT_EQ(shown(), sorted);
  }
  list.RemoveMember(MakeFixedText<16>("10.0.0.99"));  // no such row
  list.RemoveMember(MakeFixedText<16>("10.0.0.2"));
  EXPECT_EQ(shown(), (Handles{"あ", "alice", "Bob"}));
}

}  // namespace
}  // namespace korvane
