// SPDX-License-Identifier: MIT
#include "platform/BroadcastSlot.h"

#include <sys/eventfd.h>

#include <cstring>

namespace korvane {

std::unique_ptr<BroadcastSlot> BroadcastSlot::Open(const CarrierConfig& config) {
  UniqueFd socket = BindDatagramSocket(config.slotAddress, config.slotPort);
  if (!socket.Valid()) return nullptr;
  UniqueFd closedSignal(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!closedSignal.Valid()) return nullptr;
  return std::unique_ptr<BroadcastSlot>(new BroadcastSlot(std::move(socket), std::move(closedSignal)));
}

void BroadcastSlot::Close() {
  closed_.store(true);
  const std::uint64_t one = 1;
  // Cannot fail short of a counter overflow, and it only needs to be non-zero.
  (void)!::write(closedSignal_.Get(), &one, sizeof one);
}

void BroadcastSlot::TakeWaitingDatagrams() {
  while (count_ < kQueueCapacity) {
    const int tail = (head_ + count_) % kQueueCapacity;
    const int size = ReceiveDatagram(socket_, messages_[tail].data(), kMaxDatagram);
    if (size == kNothingWaiting) return;
    if (size == kDroppedOversized) continue;
    sizes_[tail] = size;
    ++count_;
  }
}

bool BroadcastSlot::GetInfo(int* nextSize, int* count) {
  if (closed_.load()) return false;
  TakeWaitingDatagrams();
  *nextSize = count_ > 0 ? sizes_[head_] : kNoMessage;
  *count = count_;
  return true;
}

int BroadcastSlot::Read(std::uint8_t* buffer, int capacity) {
  if (count_ == 0 || sizes_[head_] > capacity) return -1;
  const int size = sizes_[head_];
  std::memcpy(buffer, messages_[head_].data(), static_cast<size_t>(size));
  head_ = (head_ + 1) % kQueueCapacity;
  --count_;
  return size;
}

}  // namespace korvane
