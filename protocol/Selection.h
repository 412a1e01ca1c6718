#pragma once
// Which members a chat message goes to: the member list's selection record and the
// recipient table built from it.

#include <array>
#include <cstdint>

#include "protocol/AddressTable.h"

namespace korvane {

struct SelectionRecord {
  // '1' selected, '0' not, one per row, a zero byte after the last row.
  std::array<char, kTableCapacity + 1> m_selFlags{};
  // The address of each selected row, at the row's index.
  std::array<AddressText, kTableCapacity> m_selAddrs{};
};

struct TargetTable {
  std::int32_t m_bSelectiveSend = 0;
  AddressList targets;  // m_nTargetCount, m_targetAddrs
};

// Clears table, then takes the address of every row flagged '1', in row order.
void CollectTargets(const SelectionRecord& selection, TargetTable& table);

}  // namespace korvane
