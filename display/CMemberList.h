// SPDX-License-Identifier: MIT
#pragma once
// The member list (control 1005): one row per member logged in, the handle shown and the
// address kept in a column of no width. Several rows can be selected; the selection says
// who a selective message goes to. Rows are known by their address, whatever order the
// list shows them in. The list paints its rows itself, so that a text too wide for its
// column ends in "...", and a click on a column header sorts the rows by that column.

#include <QTreeWidget>
#include <initializer_list>
#include <string>

#include "protocol/FixedText.h"
#include "protocol/Selection.h"

namespace korvane {

class CMemberList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CMemberList(QWidget* parent = nullptr);

  // For another use of the list (the settings' address list): its own columns, and rows
  // that stay in the order they were added.
  struct Column {
    const char* header;  // UTF-8
    int width;           // pixels
  };
  void SetColumns(std::initializer_list<Column> columns);
  void SetSortOnClick(bool enabled);

  // Rows by index; cells are code page 932.
  void AppendRow(const std::string& cell0, const std::string& cell1);
  std::string RowText(int row, int column) const;
  void SetRowText(int row, int column, const std::string& cp932);
  void RemoveRow(int row);

  // Always at the end: the rows are sorted only when a column header is clicked.
  void AppendMember(const std::string& handleCp932, const AddressText& address);
  // The first row showing address; nothing when there is none.
  void RemoveMember(const AddressText& address);
  void ClearMembers();
  int RowCount() const;

  // One flag per row, in the order shown, and the address of every selected row at its index.
  void RecordSelection(SelectionRecord& out) const;
  // Clears the selection; the focused row stays where it is.
  void DeselectAllMembers();

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  // Runs from drawRow, for every row Qt paints.
  void DrawItem(QPainter& painter, const QModelIndex& index, const QRect& bounds) const;
  // Runs from focusInEvent, when the list gains the keyboard focus.
  void OnNotifySetFocus();
  // Runs on the header's sectionClicked.
  void OnColumnClick(int column);

  // The row across all its columns, as scrolled; cell is any of its cells.
  QRect RowBounds(const QRect& cell) const;
  int ColumnAlignment(int column) const;
  int MeasureText(const std::string& cp932) const;

  // One direction for every column, reversed by each click; the first sorts ascending.
  bool m_bSortAscending = true;
  int m_nSortColumn = 0;
};

}  // namespace korvane
