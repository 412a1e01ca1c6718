// SPDX-License-Identifier: MIT
#pragma once
// The unicast carrier: one UDP socket, bound to the own address, that sends packets to
// registered addresses and receives theirs. Sending and receiving may run on two threads,
// and the socket may be bound anew (the own address changed) while they do.

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
  // nullptr when no socket can be made. A carrier whose address cannot be bound sends and
  // receives nothing until Bind() succeeds.
  static std::unique_ptr<UdpCarrier> Open(const std::string& address, std::uint16_t port);

  // Puts a socket bound to address, on the port given to Open, in place of the current
  // one, under the same descriptor, and wakes a reader waiting on the old one (ReplacedFd).
  // False when it cannot be bound: then the carrier is unbound.
  bool Bind(const std::string& address);

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
  int ReplacedFd() const override { return replaced_.Get(); }

 private:
  UdpCarrier(UniqueFd socket, UniqueFd replaced, std::uint16_t port)
      : socket_(std::move(socket)), replaced_(std::move(replaced)), port_(port) {}

  UniqueFd socket_;  // the same number for the carrier's life
  UniqueFd replaced_;  // an eventfd, signalled by Bind, taken by ReceiveFrom
  std::uint16_t port_;
  std::atomic<bool> replacedPending_{false};
  std::atomic<bool> bound_{false};
  std::atomic<bool> closed_{false};
};

}  // namespace korvane
