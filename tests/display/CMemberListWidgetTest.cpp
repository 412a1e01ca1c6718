#include "display/CMemberList.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "platform/CodePage.h"

namespace korvane {
namespace {

using Handles = std::vector<std::string>;

class CMemberListTest : public testing::Test {
 protected:
  // Sorted by bytes: "Bob" 42, "alice" 61, "Ａ" 82 60, "あ" 82 A0; in Unicode あ comes before Ａ.
  CMemberListTest() {
    list.AppendMember("alice", MakeFixedText<16>("10.0.0.9"));
    list.AppendMember("Bob", MakeFixedText<16>("10.0.0.10"));
    list.AppendMember(Utf8ToCp932("あ"), MakeFixedText<16>("192.168.100.200"));
    list.AppendMember(Utf8ToCp932("Ａ"), MakeFixedText<16>("10.0.0.2"));
    list.resize(300, 200);
    list.show();  // so that the header has sections to click
  }
  Handles Shown() const {
    Handles handles;
    for (int row = 0; row < list.RowCount(); ++row) handles.push_back(list.topLevelItem(row)->text(0).toStdString());
    return handles;
  }
  void ClickColumn(int column) {
    QHeaderView* header = list.header();
    const int middle = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {middle, header->height() / 2});
  }

  CMemberList list;
};

TEST_F(CMemberListTest, ClicksOnAnyColumnSortByBytesInTurnsOfOneDirection) {
  list.setColumnWidth(1, 80);  // as a user who widens the hidden address column
  const std::pair<int, Handles> clicks[] = {
      {0, {"Bob", "alice", "Ａ", "あ"}},
      {1, {"あ", "alice", "Ａ", "Bob"}},  // "192.168.100.200" > "10.0.0.9" > "10.0.0.2" > "10.0.0.10"
      {0, {"Bob", "alice", "Ａ", "あ"}},
      {0, {"あ", "Ａ", "alice", "Bob"}},
  };
  for (const auto& [column, shown] : clicks) {
    ClickColumn(column);
    EXPECT_EQ(Shown(), shown);
  }
}

TEST_F(CMemberListTest, RowsAreKnownByAddressWhateverOrderTheyAreShownIn) {
  list.setCurrentItem(list.topLevelItem(0));
  list.topLevelItem(2)->setSelected(true);
  ClickColumn(0);
  list.RemoveMember(MakeFixedText<16>("10.0.0.99"));  // no such row
  list.RemoveMember(MakeFixedText<16>("10.0.0.2"));
  list.AppendMember(Utf8ToCp932("山田たろう"), MakeFixedText<16>("10.0.0.5"));  // not sorted in
  EXPECT_EQ(Shown(), (Handles{"Bob", "alice", "あ", "山田たろう"}));
  SelectionRecord record;
  record.m_selFlags = "stale";
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "0110");
  EXPECT_EQ(record.m_selAddrs, (std::vector<AddressText>{AddressText{}, MakeFixedText<16>("10.0.0.9"),
                                                          MakeFixedText<16>("192.168.100.200"), AddressText{}}));
  list.DeselectAllMembers();
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "0000");
  EXPECT_EQ(list.currentItem(), list.topLevelItem(1));  // the focused row stays
  list.ClearMembers();
  EXPECT_EQ(list.RowCount(), 0);
}

}  // namespace
}  // namespace korvane
