// SPDX-License-Identifier: MIT
#pragma once
// What the receive loop reads from the two carriers. The sockets implement them; a fuzz
// target feeds the loop from memory through them.

#include <cstdint>

namespace korvane {

// A reader with mailslot semantics (see BroadcastSlot).
class SlotReader {
 public:
  // Next size reported when nothing waits (all 32 bits set).
  static constexpr int kNoMessage = -1;

  virtual ~SlotReader() = default;
  // False once closed; otherwise the next message's size (kNoMessage when none) and the
  // number of waiting messages.
  virtual bool GetInfo(int* nextSize, int* count) = 0;
  // The next message whole: its size, or -1 when none waits or it does not fit.
  virtual int Read(std::uint8_t* buffer, int capacity) = 0;
  // For poll(): readable while a message waits, and once the slot was closed; -1 for none.
  virtual int SocketFd() const = 0;
  virtual int ClosedFd() const = 0;
};

// A reader of single datagrams (see UdpCarrier).
class DatagramReader {
 public:
  virtual ~DatagramReader() = default;
  // Size of one datagram now in buffer, or a value <= 0 when nothing was read.
  virtual int ReceiveFrom(std::uint8_t* buffer, int capacity) = 0;
  // For poll(): readable while a datagram waits; -1 for none.
  virtual int SocketFd() const = 0;
  // For poll(): readable once the socket was replaced under a waiting reader, until the next
  // ReceiveFrom; -1 for none.
  virtual int ReplacedFd() const { return -1; }
};

}  // namespace korvane
