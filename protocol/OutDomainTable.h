// SPDX-License-Identifier: MIT
#pragma once
// The registered addresses outside the local network that every packet is also sent to.

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

#include "protocol/FixedText.h"
#include "settings/SettingsRecord.h"

namespace korvane {

struct OutDomainList {
  std::int32_t m_nOutDomainCount = 0;
  std::array<AddressText, kMaxOutDomainAddrs> m_outDomainAddrs{};
};

class OutDomainTable {
 public:
  // tableMutex is the one lock shared by the program's tables.
  explicit OutDomainTable(std::recursive_mutex& tableMutex) : mutex_(tableMutex) {}

  // Replaces the table with the first count of addrs; count is clamped to 0..100 and to
  // the entries given.
  void Assign(int count, std::span<const AddressText> addrs);
  // The addresses registered in settings, whatever its stored choice: what start-up uses.
  // An address field without a terminator keeps all 16 bytes.
  void LoadRegistered(const SettingsRecord& settings);
  // The same, but none unless settings chooses to communicate outside the local network:
  // what applying the settings dialog uses. One step, as every Assign is.
  void LoadChosen(const SettingsRecord& settings);
  OutDomainList Snapshot() const;

 private:
  void Load(const SettingsRecord& settings, int count);

  std::recursive_mutex& mutex_;
  OutDomainList table_;
};

}  // namespace korvane
