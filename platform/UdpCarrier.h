#pragma once
// The unicast carrier: one UDP socket, bound to the own address, that sends packets to
// registered addresses and receives theirs. Sending and receiving may run on two threads.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/CarrierReaders.h"
#include "platform/UniqueFd.h"

namespace korvane {

class UdpCarrier : public DatagramReader {
 public:
  // nullptr when the socket cannot be bound.
  static std::unique_ptr<UdpCarrier> Open(const std::string& address, std::uint16_t port);

  // Size of one datagram now in buffer (never more than capacity bytes are written), or a
  // value <= 0 when nothing was read: none waiting, closed, or longer than capacity (such a
  // datagram is dropped).
  int ReceiveFrom(std::uint8_t* buffer, int capacity) override;

  // Bytes sent, or -1.
  int SendTo(std::span<const std::uint8_t> packet, const std::string& address,
             std::uint16_t port);

  // Later calls do nothing; the descriptor is released by the destructor only.
  void Close() { closed_.store(true); }

  std::uint16_t Port() const;
  int SocketFd() const override { return socket_.Get(); }

 private:
  explicit UdpCarrier(UniqueFd socket) : socket_(std::move(socket)) {}

  UniqueFd socket_;
  std::atomic<bool> closed_{false};
};

}  // namespace korvane
