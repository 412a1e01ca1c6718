// SPDX-License-Identifier: MIT
#pragma once
// Acts on every packet the receive loop passes on: keeps the member table current, answers
// announcements and liveness queries, refuses a handle already in use, and produces the
// chat lines, notices and trace lines. Runs on the receive thread, one packet at a time.

#include <cstdint>
#include <span>

#include "protocol/LineSink.h"
#include "protocol/LivenessCheck.h"
#include "protocol/MemberTable.h"
#include "protocol/Packet.h"
#include "protocol/PacketSender.h"
#include "protocol/SessionState.h"

namespace korvane {

// What the dispatcher needs from the window.
class DispatchHost {
 public:
  virtual ~DispatchHost() = default;
  virtual bool IsIconic() = 0;
  virtual void AlertMinimised(const PacketView& packet) = 0;
  virtual void ShowChatLine(std::span<const std::uint8_t> packet, int selective) = 0;
  // The whole logout of the window; called from the receive thread, it returns when done.
  virtual void Logout() = 0;
};

class Dispatcher {
 public:
  Dispatcher(SessionState& session, MemberTable& members, PacketSender& sender,
             LivenessCheck& liveness, LineSink& lines, MessageBoxHost& boxes, DispatchHost& host)
      : session_(session),
        members_(members),
        sender_(sender),
        liveness_(liveness),
        lines_(lines),
        boxes_(boxes),
        host_(host) {}

  // The received length bounds every field read; missing bytes read as zero.
  void DispatchPacket(std::span<const std::uint8_t> bytes);

 private:
  void OnHello(const PacketView& packet);
  void OnHelloReply(const PacketView& packet);
  void OnBye(const PacketView& packet);
  void OnLogoutRequest(const PacketView& packet);
  void OnChat(const PacketView& packet, bool selective);
  void OnHealthQuery(const PacketView& packet);
  void OnHealthReply(const PacketView& packet);

  bool IsMe(const AddressText& field) const { return SameText(field, ownAddress_); }
  bool Echo() const { return session_.m_bEcho.load() == 1; }
  void Trace(const std::string& text) { lines_.ShowTrace(text); }
  // For a packet sent from this copy: traces it, and says whether to stop (echo off).
  bool EndsAsOwn(const AddressText& address, const std::string& trace);
  // format's %.16s filled with the sender's Address.
  void TraceFrom(const std::string& format, const PacketView& packet);

  SessionState& session_;
  MemberTable& members_;
  PacketSender& sender_;
  LivenessCheck& liveness_;
  LineSink& lines_;
  MessageBoxHost& boxes_;
  DispatchHost& host_;
  // Read once per packet: the session's copy is behind a lock.
  AddressText ownAddress_{};
};

}  // namespace korvane
