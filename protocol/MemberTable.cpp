// SPDX-License-Identifier: MIT
#include "protocol/MemberTable.h"

#include <algorithm>

namespace korvane {

int MemberTable::FindMemberByAddress(const AddressText& address) const {
  std::lock_guard lock(mutex_);
  const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const MemberRow& row) {
    return SameText(row.address, address);
  });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

int MemberTable::FindMemberByHandle(std::string_view handle) const {
  std::lock_guard lock(mutex_);
  const auto found = std::find_if(rows_.begin(), rows_.end(),
                                  [&](const MemberRow& row) { return row.handle == handle; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void MemberTable::AddMember(std::string_view handle, const AddressText& address) {
  std::lock_guard lock(mutex_);
  rows_.push_back({std::string(handle), CleanAddress(address)});
  view_.MemberAdded(rows_.back(), static_cast<int>(rows_.size()));
}

void MemberTable::RemoveMember(int row) {
  std::lock_guard lock(mutex_);
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  const MemberRow removed = rows_[row];
  rows_.erase(rows_.begin() + row);
  view_.MemberRemoved(removed, static_cast<int>(rows_.size()));
}

std::optional<std::string> MemberTable::RemoveMemberByAddress(const AddressText& address) {
  std::lock_guard lock(mutex_);
  const int row = FindMemberByAddress(address);
  if (row < 0) return std::nullopt;
  std::string handle = rows_[row].handle;
  RemoveMember(row);
  return handle;
}

void MemberTable::Clear() {
  std::lock_guard lock(mutex_);
  rows_.clear();
  view_.MembersCleared();
}

int MemberTable::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(rows_.size());
}

std::optional<std::string> MemberTable::HandleOfAddress(const AddressText& address) const {
  std::lock_guard lock(mutex_);
  const int row = FindMemberByAddress(address);
  if (row < 0) return std::nullopt;
  return rows_[row].handle;
}

std::vector<MemberRow> MemberTable::Rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

}  // namespace korvane
