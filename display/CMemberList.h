#pragma once
// The member list (control 1005): one row per member logged in, the handle shown and the
// address kept in a column of no width. Several rows can be selected; the selection says
// who a selective message goes to.

#include <QTreeWidget>
#include <string>

#include "protocol/FixedText.h"
#include "protocol/Selection.h"

namespace korvane {

class CMemberList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CMemberList(QWidget* parent = nullptr);

  // A row past the end is appended.
  void InsertMember(int row, const std::string& handleCp932, const AddressText& address);
  // Rows that do not exist are left alone.
  void RemoveMember(int row);
  void ClearMembers();
  int RowCount() const;

  // One flag per row, in row order, and the address of every selected row at its index.
  void RecordSelection(SelectionRecord& out) const;
  // Clears the selection; the focused row stays where it is.
  void DeselectAllMembers();
};

}  // namespace korvane
