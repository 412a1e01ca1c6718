// SPDX-License-Identifier: MIT
#include "protocol/ProbeTable.h"

namespace korvane {

void ProbeTable::Snapshot(const std::vector<AddressText>& addresses) {
  m_probeTable.clear();
  for (const AddressText& address : addresses)
    m_probeTable.push_back({0, CleanAddress(address)});
}

void ProbeTable::MarkAlive(const AddressText& address) {
  for (ProbeEntry& entry : m_probeTable) {
    if (entry.address == address) entry.answered = 1;
  }
}

std::vector<AddressText> ProbeTable::Silent() const {
  std::vector<AddressText> silent;
  for (const ProbeEntry& entry : m_probeTable) {
    if (entry.answered == 0) silent.push_back(entry.address);
  }
  return silent;
}

}  // namespace korvane
