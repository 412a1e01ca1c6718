// SPDX-License-Identifier: MIT
#include "protocol/PacketSender.h"

#include <array>
#include <vector>

#include "platform/MessageBox.h"
#include "protocol/RuntimeRand.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

using FixedPacket = std::array<std::uint8_t, kHandlePayload + kPacketOverhead>;

}  // namespace

PacketSender::PacketSender(SessionState& session, OutDomainTable& outDomain,
                           BroadcastWriter& broadcast, ChatSendHost& chatHost,
                           MessageBoxHost& boxes, std::uint16_t udpPort)
    : session_(session),
      outDomain_(outDomain),
      broadcast_(broadcast),
      chatHost_(chatHost),
      boxes_(boxes),
      udpPort_(udpPort) {}

int PacketSender::SendPacket(std::span<std::uint8_t> packet, int payload) {
  if (payload < 0 || payload > kMaxPayload) return -1;
  const int tag = RuntimeRand();
  session_.m_nLastSendTag.store(tag);
  StampPacket(packet, payload, static_cast<std::uint32_t>(tag));
  const auto bytes = packet.first(static_cast<std::size_t>(payload + kPacketOverhead));

  if (const BroadcastResult result = broadcast_.Write(bytes); result != BroadcastResult::Sent) {
    const bool opened = result != BroadcastResult::OpenFailed;
    boxes_.ShowMessageBox(opened ? Cp932<text::kSlotWriteFailed>() : Cp932<text::kSlotOpenFailed>(), MB_OK);
    return -1;
  }
  if (socket_ != nullptr) {
    const OutDomainList outDomain = outDomain_.Snapshot();
    for (int i = 0; i < outDomain.m_nOutDomainCount; ++i)
      socket_->SendTo(bytes, std::string(TextOf(outDomain.m_outDomainAddrs[i])), udpPort_);
  }
  return 0;
}

void PacketSender::SendHello() {
  FixedPacket packet;
  SendPacket(packet, BuildHello(packet, session_.OwnAddress(), session_.OwnHandle()));
}

void PacketSender::SendHelloReply(const AddressText& target) {
  FixedPacket packet;
  SendPacket(packet,
             BuildHelloReply(packet, session_.OwnAddress(), target, session_.OwnHandle()));
}

void PacketSender::SendBye() {
  if (session_.m_bLoggedIn.load() == 0) return;
  FixedPacket packet;
  SendPacket(packet, BuildBye(packet, session_.OwnAddress()));
}

void PacketSender::SendHealthQuery() {
  if (session_.m_bLoggedIn.load() == 0) return;
  FixedPacket packet;
  SendPacket(packet, BuildHealthQuery(packet, session_.OwnAddress()));
}

void PacketSender::SendHealthReply(const AddressText& target) {
  FixedPacket packet;
  SendPacket(packet,
             BuildHealthReply(packet, session_.OwnAddress(), target, session_.OwnHandle()));
}

void PacketSender::SendLogoutRequest(const AddressText& target) {
  if (target == session_.OwnAddress()) return;  // all 16 bytes
  FixedPacket packet;
  SendPacket(packet, BuildLogoutRequest(packet, target));
}

void PacketSender::SendChat(std::span<const std::uint8_t> text) {
  SelectionRecord selection;
  chatHost_.RecordSelection(selection);
  CollectTargets(selection, targets_);

  // Sized for the text, however long: a text too long to send still builds a packet for
  // the own line, and SendPacket then refuses it.
  std::vector<std::uint8_t> packet(
      std::max<std::size_t>(kMaxPacket, kTextOffset + text.size() + 2));
  const bool selective = targets_.m_bSelectiveSend == 1;
  const int payload = BuildChat(packet, selective ? code::kSlMsg : code::kBcMsg,
                                session_.OwnAddress(), session_.OwnHandle(), text);
  if (selective) {
    for (const AddressText& target : targets_.m_targetAddrs) {
      SetTarget(packet, target);
      SendPacket(packet, payload);
    }
  } else {
    SendPacket(packet, payload);
  }
  chatHost_.ShowChatLine(packet, 0);
}

}  // namespace korvane
