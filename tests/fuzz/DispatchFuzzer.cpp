// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the dispatcher of a copy that has members. The first byte
// chooses the copy's state (logged in, echo); the rest is the packet, as the receive loop
// would pass it (at most 1,024 bytes). A copy logged out, without echo, only says so.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/MessageBox.h"
#include "tests/support/RecordingWindow.h"

using namespace korvane;

// Nothing this copy sends leaves the process.
struct DiscardingWriter : BroadcastWriter {
  BroadcastResult Write(std::span<const std::uint8_t>) override { return BroadcastResult::Sent; }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A refused handle raises a box, which would otherwise go to stderr.
  static const auto quiet = SetMessageBoxHandler([](const std::string&, unsigned) { return IDOK; });
  if (size == 0) return 0;
  test::RecordingWindow window;
  ChatSession session(window, {.ownAddress = "10.0.0.1"}, std::make_unique<DiscardingWriter>());
  window.Attach(session);
  session.Members().AddMember("bob", MakeFixedText<16>("10.0.0.2"));
  session.Members().AddMember("carol", MakeFixedText<16>("10.0.0.3"));
  session.State().SetOwnHandle(MakeFixedText<50>("me"));
  session.State().m_bLoggedIn = (data[0] & 1) ? 0 : 1;
  session.State().m_bEcho = (data[0] & 2) ? 1 : 0;
  session.Liveness().SnapshotMembers();

  session.Dispatch().DispatchPacket(std::span(data + 1, std::min<std::size_t>(size - 1, 1024)));
  if ((data[0] & 3) == 1 && window.shown.size() != 1) std::abort();
  session.Liveness().ReportSilentMembers();
  return 0;
}
