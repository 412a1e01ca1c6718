#pragma once
// The member list (control 1005): one row per member logged in, the handle shown and the
// address kept in a column of no width. Several rows can be selected; the selection says
// who a selective message goes to. Rows are known by their address, whatever order the
// list shows them in.

#include <QTreeWidget>
#include <string>

#include "protocol/FixedText.h"
#include "protocol/Selection.h"

namespace korvane {

class CMemberList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CMemberList(QWidget* parent = nullptr);

  void AppendMember(const std::string& handleCp932, const AddressText& address);
  // The first row showing address; nothing when there is none.
  void RemoveMember(const AddressText& address);
  void ClearMembers();
  int RowCount() const;

  // One flag per row, in the order shown, and the address of every selected row at its index.
  void RecordSelection(SelectionRecord& out) const;
  // Clears the selection; the focused row stays where it is.
  void DeselectAllMembers();
};

}  // namespace korvane
