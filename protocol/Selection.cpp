#include "protocol/Selection.h"

namespace korvane {

void CollectTargets(const SelectionRecord& selection, TargetTable& table) {
  table = TargetTable{};
  for (int row = 0; row < kTableCapacity && selection.m_selFlags[row] != 0; ++row) {
    if (selection.m_selFlags[row] == '1')
      table.targets.addrs[table.targets.count++] = selection.m_selAddrs[row];
  }
  table.m_bSelectiveSend = table.targets.count > 0 ? 1 : 0;
}

}  // namespace korvane
