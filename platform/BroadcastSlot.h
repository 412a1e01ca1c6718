// SPDX-License-Identifier: MIT
#pragma once
// Read end of the broadcast carrier, with the semantics of a read mailslot: the reader asks
// how many messages wait and how big the next one is, then reads them one by one.

#include <linux/filter.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/CarrierConfig.h"
#include "platform/CarrierReaders.h"
#include "platform/DatagramSocket.h"
#include "platform/UniqueFd.h"

namespace korvane {

class BroadcastSlot : public SlotReader {
 public:
  // Messages taken from the socket per query (one cycle of the receive loop); more wait in
  // the socket for the next one.
  static constexpr int kQueueCapacity = 1024;
  // Datagrams taken from the socket per system call.
  static constexpr int kBatch = 64;

  // nullptr when the port is taken (another copy on this host) or cannot be bound, or when
  // no descriptor is left for the close signal.
  static std::unique_ptr<BroadcastSlot> Open(const CarrierConfig& config);

  // Fails (false) once Close() was called. Otherwise sets the size of the next waiting
  // message (kNoMessage when none) and the number of waiting messages.
  bool GetInfo(int* nextSize, int* count) override;

  // Reads the next waiting message whole: its size, or -1 when none waits or it does not
  // fit in capacity (it then stays waiting).
  int Read(std::uint8_t* buffer, int capacity) override;

  // Makes every later GetInfo fail and wakes a reader waiting on ClosedFd(). Safe from any
  // thread; the descriptors are released only by the destructor, so a reader on another
  // thread never sees them reused.
  void Close();

  // Puts a kernel packet filter on the socket, for datagrams that arrive from now on; an
  // empty program takes everything again. False when the kernel refuses it.
  bool SetFilter(std::span<const sock_filter> program);

  int SocketFd() const override { return socket_.Get(); }
  int ClosedFd() const override { return closedSignal_.Get(); }

  std::uint16_t Port() const { return BoundPort(socket_); }

 private:
  BroadcastSlot(UniqueFd socket, UniqueFd closedSignal)
      : socket_(std::move(socket)), closedSignal_(std::move(closedSignal)) {}
  void TakeWaitingDatagrams();

  UniqueFd socket_;
  UniqueFd closedSignal_;  // an eventfd, signalled once by Close()
  std::atomic<bool> closed_{false};
  // Ring of messages already taken from the socket; touched by the reading thread only.
  std::array<std::array<std::uint8_t, kMaxDatagram>, kQueueCapacity> messages_{};
  std::array<int, kQueueCapacity> sizes_{};
  int head_ = 0;
  int count_ = 0;
};

}  // namespace korvane
