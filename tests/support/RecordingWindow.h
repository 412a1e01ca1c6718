// SPDX-License-Identifier: MIT
#pragma once
// A minimised window without widgets: records in order what the session shows ("T " trace,
// "N " notice, "C " chat, "B " box, "ALERT"), its timers and the member list's caption.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "display/ChatLine.h"
#include "platform/CodePage.h"
#include "protocol/ChatSession.h"

namespace korvane::test {

class RecordingWindow : public ChatHost {
 public:
  void Attach(ChatSession& session) { session_ = &session; }
  void ShowLine(const std::string& text, LineKind kind) override {
    if (onLine) onLine(Cp932ToUtf8(text));
    shown.push_back((kind == LineKind::Trace ? "T " : kind == LineKind::Chat ? "C " : "N ") + Cp932ToUtf8(text));
  }
  bool TakesTraces() const override { return takesTraces; }
  void ShowMessageBox(const std::string& text, unsigned) override { shown.push_back("B " + Cp932ToUtf8(text)); }
  void RecordSelection(SelectionRecord&) override {}
  void ShowChatLine(std::span<const std::uint8_t> packet, int selective) override {
    ShowLine(FormatChatLine(PacketView(packet), selective), LineKind::Chat);
  }
  bool IsIconic() override { return true; }
  void AlertMinimised(const PacketView&) override { shown.push_back("ALERT"); }
  void Logout() override { session_->Logout(); }
  void SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) override { timers[timer] = interval; }
  void KillTimer(LivenessTimer timer) override { timers.erase(timer); }
  void SetMemberCaption(const std::string& text) override { caption = Cp932ToUtf8(text); }
  void MemberAdded(const MemberRow&, int) override {}
  void MemberRemoved(const MemberRow&, int) override {}
  void MembersCleared() override {}

  std::function<void(const std::string& utf8)> onLine;  // before a line is recorded
  std::vector<std::string> shown;
  bool takesTraces = true;
  std::map<LivenessTimer, std::chrono::milliseconds> timers;
  std::string caption;

 private:
  ChatSession* session_ = nullptr;
};

}  // namespace korvane::test
