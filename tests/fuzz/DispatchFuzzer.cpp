// Feeds arbitrary bytes to the dispatcher of a logged-in copy that has members. The first
// byte chooses the copy's state (logged in, echo); the rest is the packet, as the receive
// loop would pass it (at most 1,024 bytes).

#include <cstddef>
#include <cstdint>

#include "platform/MessageBox.h"
#include "tests/fuzz/NullHost.h"

namespace {

using namespace korvane;
using namespace korvane::fuzz;

struct Copy {
  Copy() : session(window, Options(), std::make_unique<DiscardingWriter>()) {
    window.Attach(session);
    SetMessageBoxHandler([](const std::string&, unsigned) { return IDOK; });
  }
  static SessionOptions Options() {
    SessionOptions options;
    options.ownAddress = "10.0.0.1";
    return options;
  }
  NullHost window;
  ChatSession session;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Copy copy;
  if (size == 0) return 0;
  ChatSession& session = copy.session;
  session.Members().Clear();
  session.Members().AddMember("bob", MakeFixedText<16>("10.0.0.2"));
  session.Members().AddMember("carol", MakeFixedText<16>("10.0.0.3"));
  session.State().SetOwnHandle(MakeFixedText<50>("me"));
  session.State().m_bLoggedIn = (data[0] & 1) ? 0 : 1;
  session.State().m_bEcho = (data[0] & 2) ? 1 : 0;
  session.Liveness().SnapshotMembers();

  const std::size_t length = std::min<std::size_t>(size - 1, 1024);
  session.Dispatch().DispatchPacket(std::span(data + 1, length));
  session.Liveness().ReportSilentMembers();
  return 0;
}
