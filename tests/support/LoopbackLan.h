#pragma once
// Several copies of the chat in one process, without windows, each on its own loopback host
// (127.0.0.10, .11, ...), exchanging real packets.

#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakeWindow.h"
#include "tests/support/Loopback.h"

namespace korvane::test {

struct Copy {
  FakeWindow window;
  std::unique_ptr<ChatSession> session;
  std::string address;

  void Login(const std::string& handle) { session->Login(MakeFixedText<50>(Utf8ToCp932(handle))); }
  void Say(const std::string& text) {
    const std::string bytes = Utf8ToCp932(text);
    session->Sender().SendChat(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
};

class LoopbackLan : public LoopbackHosts {
 public:
  explicit LoopbackLan(int copies, LivenessIntervals liveness = {}) : LoopbackHosts(copies, 10) {
    for (int i = 0; i < copies; ++i) {
      auto copy = std::make_unique<Copy>();
      copy->address = Address(i);
      copy->session = std::make_unique<ChatSession>(
          copy->window, SessionOptions{copy->address, CarriersOf(i), liveness, std::chrono::milliseconds(10)});
      copy->window.Attach(*copy->session);
      opened_ = copy->session->OpenCarriers() && opened_;
      copies_.push_back(std::move(copy));
    }
  }
  bool Opened() const { return opened_; }
  Copy& operator[](int i) { return *copies_.at(i); }

 private:
  std::vector<std::unique_ptr<Copy>> copies_;
  bool opened_ = true;
};

}  // namespace korvane::test
