#pragma once
// Several copies of the chat in one process, each on its own loopback address
// (127.0.0.10, .11, ...), exchanging real packets: every broadcast reaches every copy's
// broadcast slot and a wire tap; unicast goes to the copies' own addresses.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/DatagramSocket.h"
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
    const auto [slotPort, udpPort] = FreePorts(copies);
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

  // A slot port and a unicast port free on every copy's address.
  static std::pair<std::uint16_t, std::uint16_t> FreePorts(int copies) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      std::vector<UniqueFd> held;
      const UniqueFd probe = BindDatagramSocket(AddressOf(0), 0);
      const std::uint16_t slot = BoundPort(probe);
      const std::uint16_t udp = static_cast<std::uint16_t>(slot + 1);
      bool free = true;
      for (int i = 0; i < copies && free; ++i) {
        for (std::uint16_t port : {slot, udp}) {
          if (i == 0 && port == slot) continue;
          held.push_back(BindDatagramSocket(AddressOf(i), port));
          free = free && held.back().Valid();
        }
      }
      if (free) return {slot, udp};
    }
    return {0, 0};
  }

  std::vector<std::unique_ptr<Copy>> copies_;
  bool opened_ = true;
};

}  // namespace korvane::test
