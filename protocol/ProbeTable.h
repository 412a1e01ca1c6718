// SPDX-License-Identifier: MIT
#pragma once
// The liveness snapshot: the members asked at the last check, and who has answered.
// It grows with the member table, so every member is checked however many there are.

#include <cstdint>
#include <vector>

#include "protocol/FixedText.h"

namespace korvane {

struct ProbeEntry {
  std::int32_t answered = 0;
  AddressText address{};
};

class ProbeTable {
 public:
  // Replaces the snapshot with these addresses, none answered.
  void Snapshot(const std::vector<AddressText>& addresses);
  // Marks every entry whose 16 address bytes all equal address.
  void MarkAlive(const AddressText& address);
  // Addresses of the entries not marked, in snapshot order.
  std::vector<AddressText> Silent() const;
  int Count() const { return static_cast<int>(m_probeTable.size()); }  // m_nProbeCount

 private:
  std::vector<ProbeEntry> m_probeTable;
};

}  // namespace korvane
