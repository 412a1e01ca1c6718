#pragma once
// A window for a ChatSession without any widgets: it records what the session shows and
// asks for, mirrors the member list from the table's notifications, and lets a test set the
// minimised state. Nothing is ever selected.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "display/ChatLine.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "protocol/ChatSession.h"

namespace korvane::test {

struct ShownLine {
  std::string text;  // UTF-8
  LineKind kind;
};

class FakeWindow : public ChatHost {
 public:
  void Attach(ChatSession& session) { session_ = &session; }

  void ShowLine(const std::string& text, LineKind kind) override {
    if (onLine) onLine(Cp932ToUtf8(text));
    std::lock_guard lock(mutex_);
    lines_.push_back({Cp932ToUtf8(text), kind});
  }
  void ShowMessageBox(const std::string& text, unsigned style) override { AfxMessageBox(text, style); }
  void RecordSelection(SelectionRecord& selection) override {
    std::lock_guard lock(mutex_);
    selection = {std::string(rows_.size(), '0'), std::vector<AddressText>(rows_.size())};
  }
  void ShowChatLine(std::span<const std::uint8_t> packet, int selective) override {
    ShowLine(FormatChatLine(PacketView(packet), selective), LineKind::Chat);
  }
  bool IsIconic() override { return iconic_.load(); }
  void AlertMinimised(const PacketView&) override { ++alerts_; }
  void Logout() override { session_->Logout(); }
  void SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) override {
    std::lock_guard lock(mutex_);
    timers_[timer] = interval;
  }
  void KillTimer(LivenessTimer timer) override {
    std::lock_guard lock(mutex_);
    timers_.erase(timer);
  }
  void SetMemberCaption(const std::string& text) override {
    std::lock_guard lock(mutex_);
    caption_ = Cp932ToUtf8(text);
  }
  void MemberAdded(const MemberRow& member, int count) override {
    std::lock_guard lock(mutex_);
    rows_.push_back(member);
    tooltipCount_ = count;
  }
  void MemberRemoved(const MemberRow& member, int count) override {
    std::lock_guard lock(mutex_);
    std::erase_if(rows_, [&](const MemberRow& row) { return SameText(row.address, member.address); });
    tooltipCount_ = count;
  }
  void MembersCleared() override {
    std::lock_guard lock(mutex_);
    rows_.clear();
    tooltipCount_ = 0;
  }

  // Runs for every line before it is recorded, on the thread that shows it.
  std::function<void(const std::string& utf8)> onLine;

  std::vector<ShownLine> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::vector<std::string> Texts(LineKind kind) const {
    std::vector<std::string> texts;
    for (const ShownLine& line : Lines())
      if (line.kind == kind) texts.push_back(line.text);
    return texts;
  }
  bool Shows(const std::string& text, LineKind kind) const {
    const auto texts = Texts(kind);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  void ClearLines() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }
  std::vector<std::string> Handles() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> handles;
    for (const MemberRow& row : rows_) handles.push_back(Cp932ToUtf8(row.handle));
    return handles;
  }
  int TooltipCount() const {
    std::lock_guard lock(mutex_);
    return tooltipCount_;
  }
  std::map<LivenessTimer, std::chrono::milliseconds> Timers() const {
    std::lock_guard lock(mutex_);
    return timers_;
  }
  std::string Caption() const {
    std::lock_guard lock(mutex_);
    return caption_;
  }
  void SetIconic(bool iconic) { iconic_ = iconic; }
  int Alerts() const { return alerts_.load(); }

 private:
  ChatSession* session_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<ShownLine> lines_;
  std::vector<MemberRow> rows_;
  int tooltipCount_ = 0;
  std::map<LivenessTimer, std::chrono::milliseconds> timers_;
  std::string caption_;
  std::atomic<bool> iconic_{false};
  std::atomic<int> alerts_{0};
};

}  // namespace korvane::test
