// Feeds arbitrary bytes to the dispatcher of a logged-in copy that has members. The first
// byte chooses the copy's state (logged in, echo); the rest is the packet, as the receive
// loop would pass it (at most 1,024 bytes).

#include <cstddef>
#include <cstdint>

#include "platform/MessageBox.h"
#include "protocol/ChatSession.h"

namespace {

using namespace korvane;

class DiscardingWriter : public BroadcastWriter {
 public:
  BroadcastResult Write(std::span<const std::uint8_t>) override { return BroadcastResult::Sent; }
};

class NullWindow : public ChatHost {
 public:
  void Attach(ChatSession& session) { session_ = &session; }
  void ShowLine(const std::string& text, LineKind) override { shown_ += text.size(); }
  void RecordSelection(SelectionRecord&) override {}
  void ShowChatLine(std::span<const std::uint8_t> packet, int) override {
    shown_ += PacketView(packet).Text().size();
  }
  bool IsIconic() override { return false; }
  void AlertMinimised(const PacketView& packet) override { shown_ += TextOf(packet.Handle()).size(); }
  void Logout() override { session_->Logout(); }
  void SetTimer(int, std::chrono::milliseconds) override {}
  void KillTimer(int) override {}
  void SetMemberCaption(const std::string&) override {}
  void MemberAdded(int, const MemberRow& member, int) override { shown_ += member.handle.size(); }
  void MemberRemoved(int, int) override {}
  void MembersCleared() override {}

 private:
  ChatSession* session_ = nullptr;
  std::size_t shown_ = 0;
};

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
  NullWindow window;
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
