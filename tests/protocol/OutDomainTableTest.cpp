// SPDX-License-Identifier: MIT
#include "protocol/OutDomainTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace korvane {
namespace {

SettingsRecord Registered(std::initializer_list<const char*> addresses, std::int32_t chosen = 1) {
  SettingsRecord settings{};
  settings.nOutDomainMode = chosen;
  for (const char* address : addresses) std::strcpy(settings.szAddrIP[settings.nAddrCount++], address);
  return settings;
}

// Applying the settings replaces the table while the receive thread sends through it: a
// sender sees the old table or the new one, never a mix of both or an empty one between.
TEST(OutDomainTable, ASenderSeesTheOldTableOrTheNewOneWhileSettingsAreApplied) {
  std::recursive_mutex mutex;
  OutDomainTable table(mutex);
  const SettingsRecord first = Registered({"127.0.0.1", "127.0.0.2", "127.0.0.3"});
  const SettingsRecord second = Registered({"127.0.0.8", "127.0.0.9"});
  table.LoadChosen(first);
  const OutDomainList a = table.Snapshot();
  table.LoadChosen(second);
  const OutDomainList b = table.Snapshot();

  std::atomic<bool> applying{true};
  std::atomic<int> mixes{0};
  std::thread sender([&] {
    while (applying) {
      const OutDomainList seen = table.Snapshot();
      if (!(seen.m_nOutDomainCount == 3 && seen.m_outDomainAddrs == a.m_outDomainAddrs) &&
          !(seen.m_nOutDomainCount == 2 && seen.m_outDomainAddrs == b.m_outDomainAddrs))
        ++mixes;
    }
  });
  for (int i = 0; i < 20000; ++i) table.LoadChosen(i % 2 == 0 ? first : second);
  applying = false;
  sender.join();
  EXPECT_EQ(mixes.load(), 0);

  // Registered but not chosen: nothing goes out beyond the local network.
  table.LoadChosen(Registered({"127.0.0.1"}, 0));
  EXPECT_EQ(table.Snapshot().m_nOutDomainCount, 0);
  // An address that fills its field without a zero byte keeps all 16 bytes.
  SettingsRecord full = Registered({});
  full.nAddrCount = 1;
  std::memcpy(full.szAddrIP[0], "127.000.000.0042", 16);
  table.LoadRegistered(full);
  EXPECT_EQ(TextOf(table.Snapshot().m_outDomainAddrs[0]), "127.000.000.0042");
}

}  // namespace
}  // namespace korvane
