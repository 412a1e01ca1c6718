// SPDX-License-Identifier: MIT
#pragma once
// Builds the packets of this copy and puts them on both carriers: one broadcast, then one
// UDP datagram to each registered out-of-domain address.

#include <cstdint>
#include <span>

#include "platform/BroadcastWriter.h"
#include "platform/UdpCarrier.h"
#include "protocol/LineSink.h"
#include "protocol/OutDomainTable.h"
#include "protocol/Packet.h"
#include "protocol/Selection.h"
#include "protocol/SessionState.h"

namespace korvane {

// What sending a chat message needs from the window: the member list's selection, and the
// display of the own line.
class ChatSendHost {
 public:
  virtual ~ChatSendHost() = default;
  virtual void RecordSelection(SelectionRecord& selection) = 0;
  virtual void ShowChatLine(std::span<const std::uint8_t> packet, int selective) = 0;
};

class PacketSender {
 public:
  PacketSender(SessionState& session, OutDomainTable& outDomain, BroadcastWriter& broadcast,
               ChatSendHost& chatHost, MessageBoxHost& boxes, std::uint16_t udpPort);

  // The unicast carrier, once it is open; until then (or when it cannot be opened) packets
  // go out on the broadcast carrier alone. Set before the receive loop starts.
  void SetSocket(UdpCarrier* socket) { socket_ = socket; }

  // Stamps and sends packet (payload + 10 bytes). 0 when the broadcast went out, -1 when
  // the payload is outside 0..5000 (silently) or the broadcast failed (after telling the
  // user; no datagram is sent then).
  int SendPacket(std::span<std::uint8_t> packet, int payload);

  void SendHello();
  void SendHelloReply(const AddressText& target);
  void SendBye();          // only while logged in
  void SendHealthQuery();  // only while logged in
  void SendHealthReply(const AddressText& target);
  void SendLogoutRequest(const AddressText& target);  // never to the own address

  // One BC_MSG, or one SL_MSG per member selected in the list, in list order; then the own
  // line, whether or not the sends succeeded.
  void SendChat(std::span<const std::uint8_t> text);

  const TargetTable& Targets() const { return targets_; }

 private:
  SessionState& session_;
  OutDomainTable& outDomain_;
  BroadcastWriter& broadcast_;
  ChatSendHost& chatHost_;
  MessageBoxHost& boxes_;
  std::uint16_t udpPort_;
  UdpCarrier* socket_ = nullptr;
  TargetTable targets_;  // used by SendChat only, on the window's thread
};

}  // namespace korvane
