#pragma once
// The registered addresses outside the local network that every packet is also sent to.

#include <mutex>
#include <span>

#include "protocol/AddressTable.h"

namespace korvane {

class OutDomainTable {
 public:
  // tableMutex is the one lock shared by the program's tables.
  explicit OutDomainTable(std::mutex& tableMutex) : mutex_(tableMutex) {}

  // Replaces the table with the first count of addrs; count is clamped to 0..100 and to
  // the entries given.
  void Assign(int count, std::span<const AddressText> addrs);
  void Clear() { Assign(0, {}); }
  AddressList Snapshot() const;

 private:
  std::mutex& mutex_;
  AddressList table_;  // m_nOutDomainCount, m_outDomainAddrs
};

}  // namespace korvane
