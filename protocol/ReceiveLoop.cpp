#include "protocol/ReceiveLoop.h"

#include "resources/Texts.h"

namespace korvane {

ReceiveLoop::ReceiveLoop(BroadcastSlot& slot, UdpCarrier* socket, LineSink& lines,
                         Dispatch dispatch)
    : slot_(slot), socket_(socket), lines_(lines), dispatch_(std::move(dispatch)) {}

void ReceiveLoop::Start(std::chrono::milliseconds period) {
  thread_ = std::thread([this, period] { Run(period); });
}

void ReceiveLoop::Join() {
  if (thread_.joinable()) thread_.join();
}

void ReceiveLoop::Run(std::chrono::milliseconds period) {
  do {
    std::this_thread::sleep_for(period);
  } while (RunCycle());
}

bool ReceiveLoop::RunCycle() {
  if (socket_ != nullptr) {
    if (const int size = socket_->ReceiveFrom(buffer_.data(), kMaxDatagram); size > 0)
      Receive(size);
  }

  int nextSize = 0;
  int count = 0;
  if (!slot_.GetInfo(&nextSize, &count)) {
    lines_.ShowLine(Cp932<text::kTraceSlotClosed>(), LineKind::Trace);
    return false;
  }
  if (nextSize == BroadcastSlot::kNoMessage) return true;
  // Only the messages counted now; later arrivals wait for the next cycle.
  for (int i = 0; i < count; ++i) {
    const int size = slot_.Read(buffer_.data(), kMaxDatagram);
    if (size < 0) break;
    Receive(size);
  }
  return true;
}

void ReceiveLoop::Receive(int size) {
  lines_.ShowLine(Cp932<text::kTracePacketRead>(), LineKind::Trace);
  const auto packet = std::span<const std::uint8_t>(buffer_).first(static_cast<std::size_t>(size));
  if (repeats_.IsRepeat(packet)) return;
  dispatch_(packet);
  repeats_.Remember(packet);
}

}  // namespace korvane
