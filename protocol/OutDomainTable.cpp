// SPDX-License-Identifier: MIT
#include "protocol/OutDomainTable.h"

#include <algorithm>
#include <vector>

namespace korvane {

void OutDomainTable::Assign(int count, std::span<const AddressText> addrs) {
  const int kept =
      std::clamp(count, 0, std::min(kMaxOutDomainAddrs, static_cast<int>(addrs.size())));
  std::lock_guard lock(mutex_);
  table_ = OutDomainList{};
  table_.m_nOutDomainCount = kept;
  std::copy_n(addrs.begin(), kept, table_.m_outDomainAddrs.begin());
}

void OutDomainTable::LoadRegistered(const SettingsRecord& settings) {
  Load(settings, UsableAddrCount(settings));
}

void OutDomainTable::LoadChosen(const SettingsRecord& settings) {
  Load(settings, settings.nOutDomainMode == 1 ? UsableAddrCount(settings) : 0);
}

void OutDomainTable::Load(const SettingsRecord& settings, int count) {
  std::vector<AddressText> addresses;
  for (int i = 0; i < count; ++i)
    addresses.push_back(MakeFixedText<16>(FieldText(settings.szAddrIP[i]), 16));
  Assign(count, addresses);
}

OutDomainList OutDomainTable::Snapshot() const {
  std::lock_guard lock(mutex_);
  return table_;
}

}  // namespace korvane
