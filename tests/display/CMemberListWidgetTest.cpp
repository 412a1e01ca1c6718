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
    list.InsertMember(0, "alice", MakeFixedText<16>("10.0.0.1"));
    list.InsertMember(1, "bob", MakeFixedText<16>("10.0.0.2"));
    list.InsertMember(2, "carol", MakeFixedText<16>("192.168.100.200"));
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

TEST_F(CMemberListTest, InsertsAndRemovesRowsInPlace) {
  list.InsertMember(1, "dave", MakeFixedText<16>("10.0.0.4"));
  list.InsertMember(99, "erin", MakeFixedText<16>("10.0.0.5"));  // past the end: appended
  list.RemoveMember(0);
  list.RemoveMember(4);  // no such row
  list.RemoveMember(-1);
  EXPECT_EQ(Handles(), (std::vector<std::string>{"dave", "bob", "carol", "erin"}));
  list.ClearMembers();
  EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(CMemberListTest, ShowsAJapaneseHandle) {
  list.InsertMember(3, Utf8ToCp932("山田たろう"), MakeFixedText<16>("10.0.0.9"));
  EXPECT_EQ(list.topLevelItem(3)->text(0), QStringLiteral("山田たろう"));
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
