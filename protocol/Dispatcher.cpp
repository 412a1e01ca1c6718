// SPDX-License-Identifier: MIT
#include "protocol/Dispatcher.h"

#include "platform/MessageBox.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

std::string Notice(const std::string& format, std::string_view handle) {
  return FillFormat(format, {handle});
}

}  // namespace

void Dispatcher::DispatchPacket(std::span<const std::uint8_t> bytes) {
  const PacketView packet(bytes);
  ownAddress_ = session_.OwnAddress();
  if (session_.m_bLoggedIn.load() != 1) {
    Trace(Cp932<text::kTraceNotLoggedIn>());
    if (!Echo()) return;
  }
  // A REQ_OUT names its addressee, not its sender, and this copy never sends one to itself:
  // matching it here could only swallow a real refusal whose tag happens to equal ours.
  if (!packet.HasCode(code::kReqOut) && packet.Address() == ownAddress_ &&
      static_cast<std::int32_t>(packet.Tag()) == session_.m_nLastSendTag.load()) {
    Trace(Cp932<text::kTraceOwnMessage>());
    if (!Echo()) return;
  }

  if (packet.HasCode(code::kCmdHello)) OnHello(packet);
  else if (packet.HasCode(code::kRspHello)) OnHelloReply(packet);
  else if (packet.HasCode(code::kCmdBye)) OnBye(packet);
  else if (packet.HasCode(code::kReqOut)) OnLogoutRequest(packet);
  else if (packet.HasCode(code::kSlMsg)) OnChat(packet, true);
  else if (packet.HasCode(code::kBcMsg)) OnChat(packet, false);
  else if (packet.HasCode(code::kCmdHlthy)) OnHealthQuery(packet);
  else if (packet.HasCode(code::kRspHlthy)) OnHealthReply(packet);
}

bool Dispatcher::EndsAsOwn(const AddressText& address, const std::string& trace) {
  if (!IsMe(address)) return false;
  Trace(trace);
  return !Echo();
}

void Dispatcher::TraceFrom(const std::string& format, const PacketView& packet) {
  if (!lines_.TakesTraces()) return;
  const AddressText address = packet.Address();
  Trace(FillFormat(format, {TextOf(address)}));
}

void Dispatcher::OnHello(const PacketView& packet) {
  TraceFrom(Cp932<text::kTraceHello>(), packet);
  const AddressText address = packet.Address();
  const HandleText handle = packet.HelloHandle();
  if (IsMe(address)) {
    Trace(Cp932<text::kTraceOwnHello>());
    if (!Echo()) return;
  } else {
    if (members_.FindMemberByAddress(address) >= 0) {
      Trace(Cp932<text::kTraceKnownHello>());
      return;
    }
    if (members_.FindMemberByHandle(TextOf(handle)) >= 0 || handle == session_.OwnHandle()) {
      sender_.SendLogoutRequest(address);
      return;
    }
  }
  sender_.SendHelloReply(address);
  members_.AddMember(TextOf(handle), address);
  // Named as the row has it (with echo on, an older own row may come first).
  const std::string named = members_.HandleOfAddress(address).value_or(std::string(TextOf(handle)));
  lines_.ShowLine(Notice(Cp932<text::kMemberLoggedIn>(), named), LineKind::Notice);
}

void Dispatcher::OnHelloReply(const PacketView& packet) {
  TraceFrom(Cp932<text::kTraceHelloReply>(), packet);
  if (!IsMe(packet.Target())) {
    Trace(Cp932<text::kTraceOtherHelloReply>());
    return;
  }
  Trace(Cp932<text::kTraceMyHelloReply>());
  const AddressText address = packet.Address();
  if (members_.FindMemberByAddress(address) >= 0) {
    Trace(Cp932<text::kTraceKnownHelloReply>());
    return;
  }
  const HandleText handle = packet.Handle();
  members_.AddMember(TextOf(handle), address);
  const std::string named = members_.HandleOfAddress(address).value_or(std::string(TextOf(handle)));
  lines_.ShowLine(Notice(Cp932<text::kMemberIsLoggedIn>(), named), LineKind::Notice);
}

void Dispatcher::OnBye(const PacketView& packet) {
  TraceFrom(Cp932<text::kTraceBye>(), packet);
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, Cp932<text::kTraceOwnBye>())) return;
  // Found and removed in one step, so a member the liveness check removes meanwhile leaves
  // once, with one notice; the notice waits until the table lock is released.
  const auto handle = members_.RemoveMemberByAddress(address);
  if (!handle) {
    Trace(Cp932<text::kTraceUnknownBye>());
    return;
  }
  lines_.ShowLine(Notice(Cp932<text::kMemberLoggedOut>(), *handle), LineKind::Notice);
}

void Dispatcher::OnLogoutRequest(const PacketView& packet) {
  if (!IsMe(packet.Address())) {
    Trace(Cp932<text::kTraceOtherLogoutRequest>());
    return;
  }
  const std::string message = FillFormat(Cp932<text::kHandleInUse>(), {TextOf(session_.OwnHandle())});
  host_.Logout();
  boxes_.ShowMessageBox(message, MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

void Dispatcher::OnChat(const PacketView& packet, bool selective) {
  TraceFrom(selective ? Cp932<text::kTraceSelective>() : Cp932<text::kTraceBroadcast>(), packet);
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, selective ? Cp932<text::kTraceOwnSelective>() : Cp932<text::kTraceOwnBroadcast>())) return;
  if (selective) {
    if (!IsMe(packet.Target())) {
      Trace(Cp932<text::kTraceOtherSelective>());
      if (!Echo()) return;
    }
    Trace(Cp932<text::kTraceMySelective>());
  }
  if (members_.FindMemberByAddress(address) < 0) {
    Trace(Cp932<text::kTraceUnknownSender>());
    return;
  }
  if (host_.IsIconic()) host_.AlertMinimised(packet);
  host_.ShowChatLine(packet.Bytes(), selective ? 1 : 0);
}

void Dispatcher::OnHealthQuery(const PacketView& packet) {
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, Cp932<text::kTraceOwnHealthQuery>())) return;
  sender_.SendHealthReply(address);
}

void Dispatcher::OnHealthReply(const PacketView& packet) {
  TraceFrom(Cp932<text::kTraceHealthReply>(), packet);
  const AddressText address = packet.Address();
  if (IsMe(address)) {
    Trace(Cp932<text::kTraceOwnHealthReply>());
    if (!Echo()) return;
  } else if (!IsMe(packet.Target())) {
    Trace(Cp932<text::kTraceOtherHealthReply>());
    return;
  }
  liveness_.MarkAlive(address);
  if (members_.FindMemberByAddress(address) >= 0) return;
  const HandleText handle = packet.Handle();
  lines_.ShowLine(Notice(Cp932<text::kMemberIsLoggedIn>(), TextOf(handle)), LineKind::Notice);
  members_.AddMember(TextOf(handle), address);
}

}  // namespace korvane
