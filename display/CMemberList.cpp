#include "display/CMemberList.h"

#include <QHeaderView>

#include "platform/DialogFont.h"
#include "platform/QtText.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

constexpr int kNameColumn = 0;
constexpr int kAddressColumn = 1;
constexpr int kNameWidth = 150;

// Latin-1 both ways gives back the address bytes exactly as received.
QString AddressCell(const AddressText& address) { return QString::fromLatin1(TextOf(address)); }

}  // namespace

CMemberList::CMemberList(QWidget* parent) : QTreeWidget(parent) {
  setFont(DialogFont());
  setColumnCount(2);
  setHeaderLabels({QString::fromUtf8(text::kNameColumn), QString::fromUtf8(text::kAddressColumn)});
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

void CMemberList::AppendMember(const std::string& handleCp932, const AddressText& address) {
  auto* item = new QTreeWidgetItem;
  item->setText(kNameColumn, ToQString(handleCp932));
  item->setText(kAddressColumn, AddressCell(address));
  addTopLevelItem(item);
}

void CMemberList::RemoveMember(const AddressText& address) {
  const QString cell = AddressCell(address);
  for (int row = 0; row < RowCount(); ++row) {
    if (topLevelItem(row)->text(kAddressColumn) == cell) {
      delete takeTopLevelItem(row);
      return;
    }
  }
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
    out.m_selAddrs[row] = MakeFixedText<16>(item->text(kAddressColumn).toLatin1().toStdString(), 16);
  }
}

void CMemberList::DeselectAllMembers() { clearSelection(); }

}  // namespace korvane
