#include "protocol/Dispatcher.h"

#include "platform/MessageBox.h"
#include "protocol/UserTexts.h"

namespace korvane {

void Dispatcher::DispatchPacket(std::span<const std::uint8_t> bytes) {
  const PacketView packet(bytes);
  if (session_.m_bLoggedIn.load() != 1) {
    Trace("Disposed Message (not login)");
    if (!Echo()) return;
  }
  // A REQ_OUT names its addressee, not its sender, and this copy never sends one to itself:
  // matching it here could only swallow a real refusal whose tag happens to equal ours.
  if (!packet.HasCode(code::kReqOut) && packet.Address() == session_.m_szOwnAddress &&
      static_cast<std::int32_t>(packet.Tag()) == session_.m_nLastSendTag.load()) {
    Trace("Received Own Message");
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

bool Dispatcher::EndsAsOwn(const AddressText& address, const char* trace) {
  if (!IsMe(address)) return false;
  Trace(trace);
  return !Echo();
}

void Dispatcher::TraceFrom(const char* what, const PacketView& packet) {
  Trace(std::string(what) + " " + std::string(TextOf(packet.Address())));
}

void Dispatcher::OnHello(const PacketView& packet) {
  TraceFrom("Received CMD_HELLO", packet);
  const AddressText address = packet.Address();
  const HandleText handle = packet.HelloHandle();
  if (IsMe(address)) {
    Trace("Received My Send CMD_HELLO");
    if (!Echo()) return;
  } else {
    if (members_.FindMemberByAddress(address) >= 0) {
      Trace("Already connected member");
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
  lines_.ShowLine(MemberNotice(MemberEvent::LoggedIn, named), LineKind::Notice);
}

void Dispatcher::OnHelloReply(const PacketView& packet) {
  TraceFrom("Received RSP_HELLO", packet);
  if (!IsMe(packet.Target())) {
    Trace("Received Other RSP_HELLO");
    return;
  }
  Trace("Received My RSP_HELLO");
  const AddressText address = packet.Address();
  if (members_.FindMemberByAddress(address) >= 0) {
    Trace("Already connect member");
    return;
  }
  const HandleText handle = packet.Handle();
  members_.AddMember(TextOf(handle), address);
  const std::string named = members_.HandleOfAddress(address).value_or(std::string(TextOf(handle)));
  lines_.ShowLine(MemberNotice(MemberEvent::IsLoggedIn, named), LineKind::Notice);
}

void Dispatcher::OnBye(const PacketView& packet) {
  TraceFrom("Received CMD_BYE", packet);
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, "Received My Send CMD_BYE")) return;
  const auto handle = members_.HandleOfAddress(address);
  if (!handle) {
    Trace("Already disconnect member");
    return;
  }
  // The notice is shown outside the table lock: showing a line may wait for the window.
  lines_.ShowLine(MemberNotice(MemberEvent::LoggedOut, *handle), LineKind::Notice);
  std::lock_guard lock(members_.Mutex());
  members_.RemoveMember(members_.FindMemberByAddress(address));
}

void Dispatcher::OnLogoutRequest(const PacketView& packet) {
  if (!IsMe(packet.Address())) {
    Trace("Received Other REQ_OUT");
    return;
  }
  const std::string message = HandleInUseMessage(TextOf(session_.OwnHandle()));
  host_.Logout();
  AfxMessageBox(message, MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

void Dispatcher::OnChat(const PacketView& packet, bool selective) {
  TraceFrom(selective ? "Received SL_MSG" : "Received BC_MSG", packet);
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, selective ? "Received My Send SL_MSG" : "Received My Sned BC_MSG")) return;
  if (selective) {
    if (!IsMe(packet.Target())) {
      Trace("Received Other SL_MSG");
      if (!Echo()) return;
    }
    Trace("Received My SL_MSG");
  }
  if (members_.FindMemberByAddress(address) < 0) {
    Trace("Not connect member");
    return;
  }
  if (host_.IsIconic()) host_.AlertMinimised(packet);
  host_.ShowChatLine(packet.Bytes(), selective ? 1 : 0);
}

void Dispatcher::OnHealthQuery(const PacketView& packet) {
  const AddressText address = packet.Address();
  if (EndsAsOwn(address, "Received My Send CMD_HLTHY")) return;
  sender_.SendHealthReply(address);
}

void Dispatcher::OnHealthReply(const PacketView& packet) {
  TraceFrom("Received RSP_HLTHY", packet);
  const AddressText address = packet.Address();
  if (IsMe(address)) {
    Trace("Received My Send RSP_HLTHY");
    if (!Echo()) return;
  } else if (!IsMe(packet.Target())) {
    Trace("Received Other RSP_HLTHY");
    return;
  }
  liveness_.MarkAlive(address);
  if (members_.FindMemberByAddress(address) >= 0) return;
  const HandleText handle = packet.Handle();
  lines_.ShowLine(MemberNotice(MemberEvent::IsLoggedIn, TextOf(handle)), LineKind::Notice);
  members_.AddMember(TextOf(handle), address);
}

}  // namespace korvane
