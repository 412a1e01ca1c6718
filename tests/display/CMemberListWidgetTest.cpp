// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "display/CMemberList.h"
#include "platform/CodePage.h"

namespace korvane {
namespace {

using Handles = std::vector<std::string>;

// Sorted by bytes: "Bob" 42, "alice" 61, "Ａ" 82 60, "あ" 82 A0 (in Unicode あ comes before Ａ),
// each click in turn the other way; rows are known by address whatever their order.
TEST(CMemberListTest, ClicksSortByBytesAndRowsAreKnownByAddress) {
  CMemberList list;
  for (const auto& [handle, address] : {std::pair{"alice", "10.0.0.9"}, {"Bob", "10.0.0.10"}, {"あ", "10.0.0.3"},
                                        {"Ａ", "10.0.0.2"}})
    list.AppendMember(Utf8ToCp932(handle), MakeFixedText<16>(address));
  list.show();  // so that the header has sections to click
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
