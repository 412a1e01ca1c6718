// SPDX-License-Identifier: MIT
#include "platform/BroadcastSlot.h"

#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
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

bool BroadcastSlot::SetFilter(std::span<const sock_filter> program) {
  if (program.empty()) {
    // The kernel wants an int it does not read; ENOENT: no filter was on.
    const int unused = 0;
    return ::setsockopt(socket_.Get(), SOL_SOCKET, SO_DETACH_FILTER, &unused, sizeof unused) == 0 || errno == ENOENT;
  }
  const sock_fprog filter{static_cast<unsigned short>(program.size()), const_cast<sock_filter*>(program.data())};
  return ::setsockopt(socket_.Get(), SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter) == 0;
}

void BroadcastSlot::TakeWaitingDatagrams() {
  // An empty ring starts again at its first slots, which the last cycle left in the cache:
  // running round all of it would touch a cold megabyte for every thousand datagrams.
  if (count_ == 0) head_ = 0;
  while (count_ < kQueueCapacity) {
    // Received straight into the free slots that follow one another from the tail on.
    const int tail = (head_ + count_) % kQueueCapacity;
    const int room = std::min({kBatch, kQueueCapacity - count_, kQueueCapacity - tail});
    std::array<iovec, kBatch> parts{};
    std::array<mmsghdr, kBatch> headers{};
    for (int i = 0; i < room; ++i) {
      parts[i] = {messages_[tail + i].data(), kMaxDatagram};
      headers[i].msg_hdr.msg_iov = &parts[i];
      headers[i].msg_hdr.msg_iovlen = 1;
    }
    const int taken = ::recvmmsg(socket_.Get(), headers.data(), static_cast<unsigned>(room), MSG_DONTWAIT, nullptr);
    if (taken <= 0) return;
    int kept = 0;
    for (int i = 0; i < taken; ++i) {
      // Longer than a slot: it came cut, and is dropped whole; the ones after it move up.
      if ((headers[i].msg_hdr.msg_flags & MSG_TRUNC) != 0) continue;
      const int size = static_cast<int>(headers[i].msg_len);
      if (kept != i) std::memcpy(messages_[tail + kept].data(), messages_[tail + i].data(), static_cast<size_t>(size));
      sizes_[tail + kept++] = size;
    }
    count_ += kept;
    // A short batch emptied the socket.
    if (taken < room) return;
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
