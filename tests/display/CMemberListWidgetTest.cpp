#include "display/CMemberList.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>

#include "platform/CodePage.h"

namespace korvane {
namespace {

class CMemberListTest : public testing::Test {
 protected:
  CMemberListTest() {
    list.AppendMember("alice", MakeFixedText<16>("10.0.0.1"));
    list.AppendMember("bob", MakeFixedText<16>("10.0.0.2"));
    list.AppendMember("carol", MakeFixedText<16>("192.168.100.200"));
  }

  std::vector<std::string> Handles() const {
    std::vector<std::string> handles;
    for (int row = 0; row < list.RowCount(); ++row)
      handles.push_back(list.topLevelItem(row)->text(0).toStdString());
    return handles;
  }

  void Select(int row) { list.topLevelItem(row)->setSelected(true); }

  CMemberList list;
};

TEST_F(CMemberListTest, ShowsTheNameAndHidesTheAddress) {
  EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("ネーム"));
  EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("アドレス"));
  EXPECT_EQ(list.columnWidth(0), 150);
  EXPECT_EQ(list.columnWidth(1), 0);
  EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(CMemberListTest, RowsAreKnownByAddressWhateverOrderTheyAreShownIn) {
  list.sortItems(0, Qt::DescendingOrder);  // as a click on the column header does
  list.RemoveMember(MakeFixedText<16>("10.0.0.2"));
  list.RemoveMember(MakeFixedText<16>("10.0.0.99"));  // no such row
  list.AppendMember(Utf8ToCp932("山田たろう"), MakeFixedText<16>("10.0.0.9"));  // not sorted in
  EXPECT_EQ(Handles(), (std::vector<std::string>{"carol", "alice", "山田たろう"}));

  Select(0);
  Select(2);
  SelectionRecord record;
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "101");
  EXPECT_EQ(record.m_selAddrs, (std::vector<AddressText>{MakeFixedText<16>("192.168.100.200"), AddressText{},
                                                          MakeFixedText<16>("10.0.0.9")}));
  list.ClearMembers();
  EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(CMemberListTest, RecordsTheSelectedRowsAndTheirAddresses) {
  SelectionRecord record;
  record.m_selFlags = "stale";
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "000");
  EXPECT_EQ(record.m_selAddrs, std::vector<AddressText>(3));

  Select(0);
  Select(2);
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "101");
  EXPECT_EQ(record.m_selAddrs, (std::vector<AddressText>{MakeFixedText<16>("10.0.0.1"), AddressText{},
                                                          MakeFixedText<16>("192.168.100.200")}));
}

TEST_F(CMemberListTest, DeselectingAllKeepsTheFocusedRow) {
  list.setCurrentItem(list.topLevelItem(1));
  Select(0);
  Select(2);
  list.DeselectAllMembers();
  EXPECT_TRUE(list.selectedItems().isEmpty());
  EXPECT_EQ(list.currentItem(), list.topLevelItem(1));
  SelectionRecord record;
  list.RecordSelection(record);
  EXPECT_EQ(record.m_selFlags, "000");
}

}  // namespace
}  // namespace korvane
