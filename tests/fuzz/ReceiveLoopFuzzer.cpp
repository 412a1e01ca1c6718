// Feeds the receive loop random datagram sequences on both carriers, from memory, and
// checks each cycle against the rules: the UDP datagram first (at most one), then every
// broadcast counted at the cycle's start in queue order, a trace line for each packet read,
// and every packet dispatched that does not equal the start of the one dispatched before.
//
// Input: a stream of operations. An operation byte's low two bits choose: 0 a UDP datagram,
// 1 a broadcast (two size bytes follow, the size taken modulo 1,100 so that oversized ones
// occur, then the content), 2 a cycle, 3 the previous datagram again on either carrier.
// 0xFF closes the slot.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "protocol/ReceiveLoop.h"

namespace {

using namespace korvane;
using Bytes = std::vector<std::uint8_t>;

void Require(bool condition) {
  if (!condition) std::abort();
}

class MemorySlot : public SlotReader {
 public:
  bool GetInfo(int* nextSize, int* count) override {
    if (closed) return false;
    *nextSize = waiting.empty() ? kNoMessage : static_cast<int>(waiting.front().size());
    *count = static_cast<int>(waiting.size());
    return true;
  }
  int Read(std::uint8_t* buffer, int capacity) override {
    if (waiting.empty() || static_cast<int>(waiting.front().size()) > capacity) return -1;
    std::memcpy(buffer, waiting.front().data(), waiting.front().size());
    const int size = static_cast<int>(waiting.front().size());
    waiting.pop_front();
    return size;
  }
  int SocketFd() const override { return -1; }
  int ClosedFd() const override { return -1; }

  std::deque<Bytes> waiting;  // the carrier drops oversized messages before they get here
  bool closed = false;
};

class MemoryDatagrams : public DatagramReader {
 public:
  int ReceiveFrom(std::uint8_t* buffer, int capacity) override {
    if (waiting.empty()) return -1;
    const Bytes datagram = std::move(waiting.front());
    waiting.pop_front();
    if (static_cast<int>(datagram.size()) > capacity) return -2;  // dropped whole
    std::memcpy(buffer, datagram.data(), datagram.size());
    return static_cast<int>(datagram.size());
  }
  int SocketFd() const override { return -1; }

  std::deque<Bytes> waiting;
};

class CountingLines : public LineSink {
 public:
  void ShowLine(const std::string&, LineKind kind) override {
    Require(kind == LineKind::Trace);
    ++count;
  }
  std::size_t count = 0;
};

// The repeat rule, kept apart from the loop's own filter.
class Expectation {
 public:
  void Read(const Bytes& packet) {
    ++reads;
    const bool repeat = std::equal(packet.begin(), packet.end(), previous_.begin());
    if (repeat) return;
    dispatched.push_back(packet);
    previous_.fill(0);
    std::copy(packet.begin(), packet.end(), previous_.begin());
  }
  std::vector<Bytes> dispatched;
  std::size_t reads = 0;

 private:
  std::array<std::uint8_t, kMaxDatagram> previous_{};
};

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return next_ >= size_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[next_++]; }
  Bytes Datagram() {
    const std::size_t size = (std::size_t{Byte()} << 8 | Byte()) % 1100;
    Bytes datagram(size);
    for (std::size_t i = 0; i < size; ++i) datagram[i] = Empty() ? static_cast<std::uint8_t>(i) : Byte();
    return datagram;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemorySlot slot;
  MemoryDatagrams udp;
  CountingLines lines;
  std::vector<Bytes> dispatched;
  ReceiveLoop loop(slot, &udp, lines, [&](std::span<const std::uint8_t> packet) {
    dispatched.emplace_back(packet.begin(), packet.end());
  });
  Expectation expected;
  Bytes last;

  const auto queue = [&](bool broadcast, Bytes datagram) {
    last = datagram;
    if (!broadcast) udp.waiting.push_back(std::move(datagram));
    else if (datagram.size() <= kMaxDatagram) slot.waiting.push_back(std::move(datagram));
  };
  const auto cycle = [&] {
    if (!udp.waiting.empty()) {
      const Bytes& first = udp.waiting.front();
      if (!first.empty() && first.size() <= kMaxDatagram) expected.Read(first);
    }
    if (!slot.closed)
      for (const Bytes& message : slot.waiting) expected.Read(message);
    const bool running = loop.RunCycle();
    Require(running == !slot.closed);
    Require(dispatched == expected.dispatched);
    Require(lines.count == expected.reads + (running ? 0 : 1));  // the closing trace line
    return running;
  };

  Input input(data, size);
  while (!input.Empty()) {
    const std::uint8_t operation = input.Byte();
    if (operation == 0xFF) {
      slot.closed = true;
      cycle();
      return 0;
    }
    switch (operation & 3) {
      case 0: queue(false, input.Datagram()); break;
      case 1: queue(true, input.Datagram()); break;
      case 2: cycle(); break;
      case 3: queue((operation & 4) != 0, last); break;
    }
  }
  while (!udp.waiting.empty() || !slot.waiting.empty()) cycle();
  return 0;
}
