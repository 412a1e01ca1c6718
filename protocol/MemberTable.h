// SPDX-License-Identifier: MIT
#pragma once
// The members logged in, in the order they arrived: the one record of who is on the
// network. The receive thread and the window's thread both change it; every operation is
// one atomic step under the shared table lock, and every change is passed to the display
// side while that lock is held, so the display sees the changes in the order made.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/FixedText.h"

namespace korvane {

struct MemberRow {
  std::string handle;  // as received, at most 50 bytes
  AddressText address;
};

// The display side of the table: the member list's rows and the tray tooltip's count.
// Called with the table lock held: implementations must neither block nor call back into
// the table.
class MemberListView {
 public:
  virtual ~MemberListView() = default;
  // Rows are appended; a removed row is named by its content, since the list may show the
  // rows in another order.
  virtual void MemberAdded(const MemberRow& member, int count) = 0;
  virtual void MemberRemoved(const MemberRow& member, int count) = 0;
  virtual void MembersCleared() = 0;
};

class MemberTable {
 public:
  MemberTable(std::recursive_mutex& tableMutex, MemberListView& view)
      : mutex_(tableMutex), view_(view) {}

  // First row whose address (or handle) equals the given one as a whole string, or -1.
  int FindMemberByAddress(const AddressText& address) const;
  int FindMemberByHandle(std::string_view handle) const;

  void AddMember(std::string_view handle, const AddressText& address);
  // Rows that do not exist (any more) are left alone.
  void RemoveMember(int row);
  // Removes the first row holding address, found and removed in one step: the handle it
  // had, or nothing when no row holds it (any more).
  std::optional<std::string> RemoveMemberByAddress(const AddressText& address);
  void Clear();

  int Count() const;  // m_nMemberCount
  // The handle of the first row holding address, found and read in one step.
  std::optional<std::string> HandleOfAddress(const AddressText& address) const;
  std::vector<MemberRow> Rows() const;

  // The shared table lock, for callers that make several operations one step.
  std::recursive_mutex& Mutex() const { return mutex_; }

 private:
  std::recursive_mutex& mutex_;
  MemberListView& view_;
  std::vector<MemberRow> rows_;
};

}  // namespace korvane
