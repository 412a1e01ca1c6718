// SPDX-License-Identifier: MIT
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

  AddressText OwnAddress() const { return Read(m_szOwnAddress); }
  void SetOwnAddress(const AddressText& address) { Write(m_szOwnAddress, address); }
  HandleText OwnHandle() const { return Read(m_szOwnHandle); }
  void SetOwnHandle(const HandleText& handle) { Write(m_szOwnHandle, handle); }

 private:
  // Login writes the handle, and a network change the address, while the receive thread
  // may be comparing with them.
  template <typename Field>
  Field Read(const Field& field) const {
    std::lock_guard lock(identityMutex_);
    return field;
  }
  template <typename Field>
  void Write(Field& field, const Field& value) {
    std::lock_guard lock(identityMutex_);
    field = value;
  }

  mutable std::mutex identityMutex_;
  AddressText m_szOwnAddress{};
  HandleText m_szOwnHandle{};
};

}  // namespace korvane
