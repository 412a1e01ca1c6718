// SPDX-License-Identifier: MIT
// Feeds the receive loop random datagram sequences on both carriers, from memory, and
// checks each cycle against the rules: the UDP datagram first (at most one), then every
// broadcast counted at the cycle's start in queue order, a trace line for each packet read,
// and every packet dispatched that does not equal the start of the one dispatched before
// (zeros after its end). The slot is closed at the end.
//
// Input: operations. 0 makes a datagram, 1 and 2 queue the last one made on the UDP or the
// broadcast carrier (so repeats are common), 3 runs a cycle.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <vector>

#include "protocol/ReceiveLoop.h"

using namespace korvane;
using Bytes = std::vector<std::uint8_t>;

// Both carriers and the trace, in memory. Neither carrier passes on an oversized datagram.
struct Carriers : SlotReader, DatagramReader, LineSink {
  int Take(std::deque<Bytes>& queue, std::uint8_t* buffer) {
    if (queue.empty()) return -1;
    std::copy(queue.front().begin(), queue.front().end(), buffer);
    const int size = static_cast<int>(queue.front().size());
    queue.pop_front();
    return size;
  }
  bool GetInfo(int* nextSize, int* count) override {
    *nextSize = slot.empty() ? kNoMessage : static_cast<int>(slot.front().size());
    *count = static_cast<int>(slot.size());
    return !closed;
  }
  int Read(std::uint8_t* buffer, int) override { return Take(slot, buffer); }
  int ReceiveFrom(std::uint8_t* buffer, int) override { return Take(udp, buffer); }
  int SocketFd() const override { return -1; }
  int ClosedFd() const override { return -1; }
  void ShowLine(const std::string&, LineKind kind) override { traces += kind == LineKind::Trace; }

  std::deque<Bytes> slot;
  std::deque<Bytes> udp;
  bool closed = false;
  std::size_t traces = 0;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Carriers io;
  std::vector<Bytes> dispatched;
  ReceiveLoop loop(io, &io, io, [&](auto packet) { dispatched.emplace_back(packet.begin(), packet.end()); });
  std::vector<Bytes> expected;
  std::size_t reads = 0;
  const auto read = [&](const Bytes& packet) {
    ++reads;
    Bytes before = expected.empty() ? Bytes() : expected.back();
    before.resize(kMaxDatagram);
    if (!std::equal(packet.begin(), packet.end(), before.begin())) expected.push_back(packet);
  };
  const auto cycle = [&] {
    if (!io.udp.empty() && !io.udp.front().empty()) read(io.udp.front());
    if (!io.closed) std::for_each(io.slot.begin(), io.slot.end(), read);
    const bool running = loop.RunCycle();
    // A closed slot ends the loop with a trace line of its own.
    if (running == io.closed || dispatched != expected || io.traces != reads + !running) std::abort();
  };

  FuzzedDataProvider input(data, size);
  Bytes last;
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0: last = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<int>(0, kMaxDatagram)); break;
      case 1: io.udp.push_back(last); break;
      case 2: io.slot.push_back(last); break;
      case 3: cycle(); break;
    }
  }
  io.closed = true;
  cycle();
  return 0;
}
