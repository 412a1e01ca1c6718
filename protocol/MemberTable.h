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
  virtual void MemberAdded(int row, const MemberRow& member, int count) = 0;
  virtual void MemberRemoved(int row, int count) = 0;
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
  void Clear();

  int Count() const;  // m_nMemberCount
  std::optional<std::string> HandleOf(int row) const;
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
