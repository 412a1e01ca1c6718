#pragma once
// Who this copy is and what state it is in: read by the receive thread, written by the
// window's thread.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "protocol/FixedText.h"

namespace korvane {

class SessionState {
 public:
  std::atomic<std::int32_t> m_bLoggedIn{0};
  std::atomic<std::int32_t> m_bEcho{0};
  // Tag of the last packet this copy started to send; -1 before the first.
  std::atomic<std::int32_t> m_nLastSendTag{-1};
  AddressText OwnAddress() const {
    std::lock_guard lock(identityMutex_);
    return m_szOwnAddress;
  }
  void SetOwnAddress(const AddressText& address) {
    std::lock_guard lock(identityMutex_);
    m_szOwnAddress = address;
  }
  HandleText OwnHandle() const {
    std::lock_guard lock(identityMutex_);
    return m_szOwnHandle;
  }
  void SetOwnHandle(const HandleText& handle) {
    std::lock_guard lock(identityMutex_);
    m_szOwnHandle = handle;
  }

 private:
  // Login writes the handle, and a network change the address, while the receive thread
  // may be comparing with them.
  mutable std::mutex identityMutex_;
  AddressText m_szOwnAddress{};
  HandleText m_szOwnHandle{};
};

}  // namespace korvane
