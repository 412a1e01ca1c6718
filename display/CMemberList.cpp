#include "display/CMemberList.h"

#include <QHeaderView>
#include <algorithm>

#include "platform/QtText.h"
#include "platform/DialogFont.h"

namespace korvane {
namespace {

constexpr int kNameColumn = 0;
constexpr int kAddressColumn = 1;
constexpr int kNameWidth = 150;

}  // namespace

CMemberList::CMemberList(QWidget* parent) : QTreeWidget(parent) {
  setFont(DialogFont());
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("ネーム"), QStringLiteral("アドレス")});
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  setColumnWidth(kNameColumn, kNameWidth);
  setColumnWidth(kAddressColumn, 0);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void CMemberList::InsertMember(int row, const std::string& handleCp932, const AddressText& address) {
  auto* item = new QTreeWidgetItem;
  item->setText(kNameColumn, ToQString(handleCp932));
  item->setText(kAddressColumn, QString::fromLatin1(TextOf(address)));
  insertTopLevelItem(std::clamp(row, 0, RowCount()), item);
}

void CMemberList::RemoveMember(int row) {
  if (row >= 0 && row < RowCount()) delete takeTopLevelItem(row);
}

void CMemberList::ClearMembers() { clear(); }

int CMemberList::RowCount() const { return topLevelItemCount(); }

void CMemberList::RecordSelection(SelectionRecord& out) const {
  const int rows = RowCount();
  out.m_selFlags.assign(rows, '0');
  out.m_selAddrs.assign(rows, AddressText{});
  for (int row = 0; row < rows; ++row) {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item->isSelected()) continue;
    out.m_selFlags[row] = '1';
    // Latin-1 both ways gives back the address bytes exactly as received.
    out.m_selAddrs[row] = MakeFixedText<16>(item->text(kAddressColumn).toLatin1().toStdString(), 16);
  }
}

void CMemberList::DeselectAllMembers() { clearSelection(); }

}  // namespace korvane
