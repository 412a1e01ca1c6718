// SPDX-License-Identifier: MIT
#pragma once
// The receiving thread: each cycle it takes at most one UDP datagram, then every message
// waiting on the broadcast slot, and dispatches each packet that does not repeat the one
// before it. Between cycles it sleeps until a datagram waits on either carrier or the slot
// is closed, so an idle copy costs nothing and a packet is taken at once (in a burst, after
// a short rest). It ends when the slot is closed.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <thread>

#include "platform/CarrierReaders.h"
#include "platform/DatagramSocket.h"
#include "protocol/LineSink.h"
#include "protocol/RepeatFilter.h"

namespace korvane {

class ReceiveLoop {
 public:
  using Dispatch = std::function<void(std::span<const std::uint8_t> packet)>;
  // The wait between cycles has no bound of its own: only a datagram or the close ends it.
  static constexpr std::chrono::milliseconds kNoBound{-1};
  // The rest before the wait that follows a cycle which took a packet.
  static constexpr std::chrono::microseconds kRest{500};

  // socket may be null (the unicast carrier could not be opened).
  ReceiveLoop(SlotReader& slot, DatagramReader* socket, LineSink& lines, Dispatch dispatch);
  ~ReceiveLoop() { Join(); }
  ReceiveLoop(const ReceiveLoop&) = delete;
  ReceiveLoop& operator=(const ReceiveLoop&) = delete;

  // longestWait bounds the wait between cycles (kNoBound: none).
  void Start(std::chrono::milliseconds longestWait = kNoBound);
  // Waits for the thread to end; it ends as soon as the slot is closed.
  void Join();

  // One cycle without the wait. False when the slot was found closed; the loop has then
  // written its closing trace line.
  bool RunCycle();

 private:
  void Run(std::chrono::milliseconds longestWait);
  void WaitForDatagram(std::chrono::milliseconds longestWait);
  void Receive(int size);

  SlotReader& slot_;
  DatagramReader* socket_;
  LineSink& lines_;
  Dispatch dispatch_;
  RepeatFilter repeats_;
  bool tookPacket_ = false;  // since the last wait
  // Shared by both carriers; not cleared between packets, so only the first size bytes of
  // it belong to the packet just read.
  std::array<std::uint8_t, kMaxDatagram> buffer_{};
  std::thread thread_;
};

}  // namespace korvane
