// SPDX-License-Identifier: MIT
#include "protocol/ReceiveLoop.h"

#include <poll.h>

#include <utility>

#include "resources/Texts.h"

namespace korvane {

ReceiveLoop::ReceiveLoop(SlotReader& slot, DatagramReader* socket, LineSink& lines,
                         Dispatch dispatch)
    : slot_(slot), socket_(socket), lines_(lines), dispatch_(std::move(dispatch)) {}

void ReceiveLoop::Start(std::chrono::milliseconds longestWait) {
  thread_ = std::thread([this, longestWait] { Run(longestWait); });
}

void ReceiveLoop::Join() {
  if (thread_.joinable()) thread_.join();
}

void ReceiveLoop::Run(std::chrono::milliseconds longestWait) {
  do {
    WaitForDatagram(longestWait);
  } while (RunCycle());
}

void ReceiveLoop::WaitForDatagram(std::chrono::milliseconds longestWait) {
  // Packets come in bursts (every member answers a liveness query at once). Resting a moment
  // after a cycle that found some lets the burst gather, so the next cycle takes dozens of
  // them with a few system calls instead of waking for every few. The price: a packet that
  // arrives during the rest waits up to kRest longer.
  if (std::exchange(tookPacket_, false)) std::this_thread::sleep_for(kRest);
  // A cycle leaves nothing in the slot's own queue (it reads every message it counted), so
  // readable descriptors are the only reason to run the next one. Whatever a cycle left in
  // the sockets (a second UDP datagram, more broadcasts than one cycle takes) keeps them
  // readable: a flood is still drained cycle by cycle.
  std::array<pollfd, 4> waits{{{slot_.ClosedFd(), POLLIN, 0}, {slot_.SocketFd(), POLLIN, 0}}};
  nfds_t count = 2;
  if (socket_ != nullptr) {
    waits[count++] = {socket_->SocketFd(), POLLIN, 0};
    waits[count++] = {socket_->ReplacedFd(), POLLIN, 0};
  }
  // An interrupted or failed wait only runs a cycle early, which finds nothing to do.
  (void)::poll(waits.data(), count, static_cast<int>(longestWait.count()));
}

bool ReceiveLoop::RunCycle() {
  if (socket_ != nullptr) {
    if (const int size = socket_->ReceiveFrom(buffer_.data(), kMaxDatagram); size > 0)
      Receive(size);
  }

  int nextSize = 0;
  int count = 0;
  if (!slot_.GetInfo(&nextSize, &count)) {
    lines_.ShowTrace(Cp932<text::kTraceSlotClosed>());
    return false;
  }
  if (nextSize == SlotReader::kNoMessage) return true;
  // Only the messages counted now; later arrivals wait for the next cycle.
  for (int i = 0; i < count; ++i) {
    const int size = slot_.Read(buffer_.data(), kMaxDatagram);
    if (size < 0) break;
    Receive(size);
  }
  return true;
}

void ReceiveLoop::Receive(int size) {
  lines_.BeginPacketLines();
  lines_.ShowTrace(Cp932<text::kTracePacketRead>());
  tookPacket_ = true;
  const auto packet = std::span<const std::uint8_t>(buffer_).first(static_cast<std::size_t>(size));
  if (!repeats_.IsRepeat(packet)) {
    dispatch_(packet);
    repeats_.Remember(packet);
  }
  lines_.EndPacketLines();
}

}  // namespace korvane
