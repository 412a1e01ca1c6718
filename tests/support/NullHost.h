#pragma once
// A window that takes everything the protocol side hands a window and only touches the bytes
// (so a read past a buffer shows), with a session to log out of; tests override what they watch.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/ChatSession.h"

namespace korvane::test {

class DiscardingWriter : public BroadcastWriter {
 public:
  BroadcastResult Write(std::span<const std::uint8_t>) override { return BroadcastResult::Sent; }
};

class NullHost : public ChatHost {
 public:
  void Attach(ChatSession& session) { session_ = &session; }
  void ShowLine(const std::string& text, LineKind) override {
    Touch(text);
    ++linesShown;
  }
  void ShowMessageBox(const std::string& text, unsigned) override { Touch(text); }
  void RecordSelection(SelectionRecord&) override {}
  void ShowChatLine(std::span<const std::uint8_t> packet, int) override { Touch(PacketView(packet).Text()); }
  bool IsIconic() override { return false; }
  void AlertMinimised(const PacketView& packet) override { Touch(TextOf(packet.Handle())); }
  void Logout() override {
    if (session_ != nullptr) session_->Logout();
  }
  void SetTimer(LivenessTimer, std::chrono::milliseconds) override {}
  void KillTimer(LivenessTimer) override {}
  void SetMemberCaption(const std::string& text) override { Touch(text); }
  void MemberAdded(const MemberRow& member, int) override { Touch(member.handle); }
  void MemberRemoved(const MemberRow& member, int) override { Touch(member.handle); }
  void MembersCleared() override {}

  int linesShown = 0;

 private:
  template <typename Text>
  void Touch(const Text& text) {
    for (const auto c : text) checksum_ += static_cast<std::uint8_t>(c);
  }

  ChatSession* session_ = nullptr;
  std::size_t checksum_ = 0;
};

}  // namespace korvane::test
