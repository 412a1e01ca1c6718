// SPDX-License-Identifier: MIT
#include "protocol/Selection.h"

namespace korvane {

void CollectTargets(const SelectionRecord& selection, TargetTable& table) {
  table = TargetTable{};
  for (std::size_t row = 0; row < selection.m_selFlags.size(); ++row) {
    if (selection.m_selFlags[row] == '1' && row < selection.m_selAddrs.size())
      table.m_targetAddrs.push_back(selection.m_selAddrs[row]);
  }
  table.m_nTargetCount = static_cast<std::int32_t>(table.m_targetAddrs.size());
  table.m_bSelectiveSend = table.m_nTargetCount > 0 ? 1 : 0;
}

}  // namespace korvane
