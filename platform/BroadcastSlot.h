#pragma once
// Read end of the broadcast carrier, with the semantics of a read mailslot: the reader asks
// how many messages wait and how big the next one is, then reads them one by one.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/CarrierConfig.h"
#include "platform/DatagramSocket.h"
#include "platform/UniqueFd.h"

namespace korvane {

class BroadcastSlot {
 public:
  // Next size reported when nothing waits (all 32 bits set).
  static constexpr int kNoMessage = -1;
  // Messages taken from the socket per query (one polling cycle); more wait in the socket
  // for the next one. 1,024 a cycle drain about 10,000 messages a second.
  static constexpr int kQueueCapacity = 1024;

  // nullptr when the port is taken (another copy on this host) or cannot be bound.
  static std::unique_ptr<BroadcastSlot> Open(const CarrierConfig& config);

  // Fails (false) once Close() was called. Otherwise sets the size of the next waiting
  // message (kNoMessage when none) and the number of waiting messages.
  bool GetInfo(int* nextSize, int* count);

  // Reads the next waiting message whole: its size, or -1 when none waits or it does not
  // fit in capacity (it then stays waiting).
  int Read(std::uint8_t* buffer, int capacity);

  // Makes every later GetInfo fail. Safe from any thread; the descriptor itself is released
  // only by the destructor, so a reader on another thread never sees it reused.
  void Close() { closed_.store(true); }

  std::uint16_t Port() const { return BoundPort(socket_); }

 private:
  explicit BroadcastSlot(UniqueFd socket) : socket_(std::move(socket)) {}
  void TakeWaitingDatagrams();

  UniqueFd socket_;
  std::atomic<bool> closed_{false};
  // Ring of messages already taken from the socket; touched by the reading thread only.
  std::array<std::array<std::uint8_t, kMaxDatagram>, kQueueCapacity> messages_{};
  std::array<int, kQueueCapacity> sizes_{};
  int head_ = 0;
  int count_ = 0;
};

}  // namespace korvane
