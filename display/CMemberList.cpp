// SPDX-License-Identifier: MIT
#include "display/CMemberList.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "display/ShortenText.h"
#include "platform/DialogFont.h"
#include "platform/QtText.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

constexpr int kNameColumn = 0;
constexpr int kAddressColumn = 1;
constexpr int kNameWidth = 150;
// Texts are drawn this far inside their column.
constexpr int kCellMargin = 6;

// Each cell keeps the bytes it was given: they are what is measured, shortened and sorted,
// and a Unicode round trip would not always give them back.
constexpr int kCp932Role = Qt::UserRole;

QByteArray Cp932Of(const QTreeWidgetItem& item, int column) {
  return item.data(column, kCp932Role).toByteArray();
}

// Latin-1 both ways gives back the address bytes exactly as received.
QString AddressCell(const AddressText& address) { return QString::fromLatin1(TextOf(address)); }

void SetCell(QTreeWidgetItem& item, int column, const std::string& cp932, const QString& shown) {
  item.setText(column, shown);
  item.setData(column, kCp932Role, QByteArray::fromStdString(cp932));
}

// Sorted by the code page 932 bytes as unsigned values, without collation: double-byte
// text sorts by its codes.
class MemberRow : public QTreeWidgetItem {
 public:
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget()->sortColumn();
    return Cp932Of(*this, column) < Cp932Of(other, column);
  }
};

QTreeWidgetItem* NewRow(const std::string& cell0, const QString& shown0, const std::string& cell1,
                        const QString& shown1) {
  auto* row = new MemberRow;
  SetCell(*row, 0, cell0, shown0);
  SetCell(*row, 1, cell1, shown1);
  return row;
}

}  // namespace

CMemberList::CMemberList(QWidget* parent) : QTreeWidget(parent) {
  setFont(DialogFont());
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  SetColumns({{text::kNameColumn, kNameWidth}, {text::kAddressColumn, 0}});
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  // Qt's own sorting would sort new rows in; the list sorts only on a click.
  setSortingEnabled(false);
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, &CMemberList::OnColumnClick);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void CMemberList::SetColumns(std::initializer_list<Column> columns) {
  QStringList headers;
  for (const Column& column : columns) headers << QString::fromUtf8(column.header);
  setColumnCount(static_cast<int>(headers.size()));
  setHeaderLabels(headers);
  int index = 0;
  for (const Column& column : columns) setColumnWidth(index++, column.width);
}

void CMemberList::SetSortOnClick(bool enabled) { header()->setSectionsClickable(enabled); }

void CMemberList::AppendMember(const std::string& handleCp932, const AddressText& address) {
  addTopLevelItem(NewRow(handleCp932, ToQString(handleCp932), std::string(TextOf(address)), AddressCell(address)));
}

void CMemberList::AppendRow(const std::string& cell0, const std::string& cell1) {
  addTopLevelItem(NewRow(cell0, ToQString(cell0), cell1, ToQString(cell1)));
}

std::string CMemberList::RowText(int row, int column) const {
  return Cp932Of(*topLevelItem(row), column).toStdString();
}

void CMemberList::SetRowText(int row, int column, const std::string& cp932) {
  SetCell(*topLevelItem(row), column, cp932, ToQString(cp932));
}

void CMemberList::RemoveRow(int row) { delete takeTopLevelItem(row); }

void CMemberList::RemoveMember(const AddressText& address) {
  const QString cell = AddressCell(address);
  for (int row = 0; row < RowCount(); ++row) {
    if (topLevelItem(row)->text(kAddressColumn) == cell) {
      RemoveRow(row);
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
    out.m_selAddrs[row] = MakeFixedText<16>(Cp932Of(*item, kAddressColumn).toStdString(), 16);
  }
}

void CMemberList::DeselectAllMembers() { clearSelection(); }

void CMemberList::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  DrawItem(*painter, index, RowBounds(option.rect));
}

void CMemberList::focusInEvent(QFocusEvent* event) {
  QTreeWidget::focusInEvent(event);
  OnNotifySetFocus();
}

QRect CMemberList::RowBounds(const QRect& cell) const {
  return {header()->sectionViewportPosition(0), cell.top(), header()->length(), cell.height()};
}

// The column's format is its header's alignment; left when none is set.
int CMemberList::ColumnAlignment(int column) const {
  return headerItem()->data(column, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask;
}

int CMemberList::MeasureText(const std::string& cp932) const {
  return QFontMetrics(font()).horizontalAdvance(ToQString(cp932));
}

void CMemberList::DrawItem(QPainter& painter, const QModelIndex& index, const QRect& bounds) const {
  painter.save();
  // The system colours, whether or not the window is the active one.
  const bool selected = selectionModel()->isSelected(index);
  const QPalette::ColorRole fill = selected ? QPalette::Highlight : QPalette::Base;
  painter.fillRect(bounds, palette().brush(QPalette::Active, fill));
  painter.setPen(palette().color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
  painter.setFont(font());

  const auto measure = [this](const std::string& cp932) { return MeasureText(cp932); };
  const QTreeWidgetItem* item = itemFromIndex(index);
  int x = bounds.left();
  for (int column = 0; column < columnCount(); ++column) {
    const int left = x;
    const int width = columnWidth(column);
    x += width;
    const FittedText fitted = FitToColumn(Cp932Of(*item, column).toStdString(), width, measure);
    const int right = fitted.shortened ? x : x - kCellMargin;
    // An empty rectangle draws nothing, as a column of no width must show nothing.
    if (fitted.text.empty() || right <= left + kCellMargin) continue;
    const int align = fitted.shortened ? Qt::AlignLeft : ColumnAlignment(column);
    painter.drawText(QRect(left + kCellMargin, bounds.top(), right - left - kCellMargin, bounds.height()),
                     align | Qt::AlignVCenter | Qt::TextSingleLine, ToQString(fitted.text));
  }

  if (hasFocus() && index.row() == currentIndex().row()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    // Whenever the list has the focus, not only after keyboard use as styles prefer.
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.rect = bounds;
    focus.backgroundColor = palette().color(QPalette::Active, fill);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
  painter.restore();
}

void CMemberList::OnNotifySetFocus() {
  const QModelIndex focused = currentIndex();
  if (focused.isValid()) viewport()->repaint(RowBounds(visualRect(focused)));
}

void CMemberList::OnColumnClick(int column) {
  m_nSortColumn = column;
  // Qt's sort keeps the selection and the focused row on the same members.
  sortItems(m_nSortColumn, m_bSortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
  m_bSortAscending = !m_bSortAscending;
}

}  // namespace korvane
