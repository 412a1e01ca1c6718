#include "protocol/OutDomainTable.h"

#include <algorithm>

namespace korvane {

void OutDomainTable::Assign(int count, std::span<const AddressText> addrs) {
  const int kept = std::clamp(count, 0, std::min(kTableCapacity, static_cast<int>(addrs.size())));
  std::lock_guard lock(mutex_);
  table_ = AddressList{};
  table_.count = kept;
  std::copy_n(addrs.begin(), kept, table_.addrs.begin());
}

AddressList OutDomainTable::Snapshot() const {
  std::lock_guard lock(mutex_);
  return table_;
}

}  // namespace korvane
