#include "protocol/OutDomainTable.h"

#include <algorithm>

namespace korvane {

void OutDomainTable::Assign(int count, std::span<const AddressText> addrs) {
  const int kept =
      std::clamp(count, 0, std::min(kMaxOutDomainAddrs, static_cast<int>(addrs.size())));
  std::lock_guard lock(mutex_);
  table_ = OutDomainList{};
  table_.m_nOutDomainCount = kept;
  std::copy_n(addrs.begin(), kept, table_.m_outDomainAddrs.begin());
}

OutDomainList OutDomainTable::Snapshot() const {
  std::lock_guard lock(mutex_);
  return table_;
}

}  // namespace korvane
