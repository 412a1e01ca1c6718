#pragma once
// Several copies of the chat in one process, each on its own loopback address
// (127.0.0.10, .11, ...), exchanging real packets: every broadcast reaches every copy's
// broadcast slot and a wire tap; unicast goes to the copies' own addresses.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/Loopback.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/PacketCapture.h"

namespace korvane::test {

struct Copy {
  FakeWindow window;
  std::unique_ptr<ChatSession> session;
  std::string address;

  void Login(const std::string& handle) {
    session->Login(MakeFixedText<50>(Utf8ToCp932(handle)));
  }
  void Say(const std::string& text) {
    const std::string bytes = Utf8ToCp932(text);
    session->Sender().SendChat(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
};

class LoopbackLan {
 public:
  explicit LoopbackLan(int copies, LivenessIntervals liveness = {}) {
    std::vector<std::string> addresses;
    for (int i = 0; i < copies; ++i) addresses.push_back(AddressOf(i));
    const auto [slotPort, udpPort] = FreePortPair(addresses);
    CarrierConfig carriers;
    carriers.slotPort = slotPort;
    carriers.udpPort = udpPort;
    for (int i = 0; i < copies; ++i) carriers.broadcastDestinations.push_back({AddressOf(i), slotPort});
    carriers.broadcastDestinations.push_back({"127.0.0.1", tap.Port()});
    for (int i = 0; i < copies; ++i) {
      auto copy = std::make_unique<Copy>();
      copy->address = AddressOf(i);
      carriers.slotAddress = copy->address;
      SessionOptions options{copy->address, carriers, liveness, std::chrono::milliseconds(10)};
      copy->session = std::make_unique<ChatSession>(copy->window, options);
      copy->window.Attach(*copy->session);
      copies_.push_back(std::move(copy));
    }
    for (auto& copy : copies_) opened_ = copy->session->OpenCarriers() && opened_;
  }

  bool Opened() const { return opened_; }
  Copy& operator[](int i) { return *copies_.at(i); }

  // Bounded wait for condition; false when it did not come true in time.
  static bool WaitUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  // Every packet broadcast by any copy, in the order sent.
  PacketCapture tap;

 private:
  static std::string AddressOf(int i) { return "127.0.0." + std::to_string(10 + i); }

  std::vector<std::unique_ptr<Copy>> copies_;
  bool opened_ = true;
};

}  // namespace korvane::test
