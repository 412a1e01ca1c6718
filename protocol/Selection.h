// SPDX-License-Identifier: MIT
#pragma once
// Which members a chat message goes to: the member list's selection record and the
// recipient table built from it. Both grow with the member list, so every member can be
// chosen however many there are.

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/FixedText.h"

namespace korvane {

struct SelectionRecord {
  // One character per row: '1' selected, '0' not.
  std::string m_selFlags;
  // The address of each selected row, at the row's index; zero for the others.
  std::vector<AddressText> m_selAddrs;
};

struct TargetTable {
  std::int32_t m_bSelectiveSend = 0;
  std::int32_t m_nTargetCount = 0;
  std::vector<AddressText> m_targetAddrs;
};

// Replaces table with the address of every row flagged '1', in row order.
void CollectTargets(const SelectionRecord& selection, TargetTable& table);

}  // namespace korvane
