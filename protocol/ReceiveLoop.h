#pragma once
// The receiving thread: every period it takes at most one UDP datagram, then every message
// waiting on the broadcast slot, and dispatches each packet that does not repeat the one
// before it. It ends when the slot is closed.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <thread>

#include "platform/BroadcastSlot.h"
#include "platform/UdpCarrier.h"
#include "protocol/LineSink.h"
#include "protocol/RepeatFilter.h"

namespace korvane {

class ReceiveLoop {
 public:
  using Dispatch = std::function<void(std::span<const std::uint8_t> packet)>;
  static constexpr std::chrono::milliseconds kPeriod{100};

  // socket may be null (the unicast carrier could not be opened).
  ReceiveLoop(BroadcastSlot& slot, UdpCarrier* socket, LineSink& lines, Dispatch dispatch);
  ~ReceiveLoop() { Join(); }
  ReceiveLoop(const ReceiveLoop&) = delete;
  ReceiveLoop& operator=(const ReceiveLoop&) = delete;

  void Start(std::chrono::milliseconds period = kPeriod);
  // Waits for the thread to end; it ends within one period after the slot is closed.
  void Join();

  // One polling cycle without the sleep. False when the slot was found closed; the loop
  // has then written its closing trace line.
  bool RunCycle();

 private:
  void Run(std::chrono::milliseconds period);
  void Receive(int size);

  BroadcastSlot& slot_;
  UdpCarrier* socket_;
  LineSink& lines_;
  Dispatch dispatch_;
  RepeatFilter repeats_;
  // Shared by both carriers; not cleared between packets, so only the first size bytes of
  // it belong to the packet just read.
  std::array<std::uint8_t, kMaxDatagram> buffer_{};
  std::thread thread_;
};

}  // namespace korvane
