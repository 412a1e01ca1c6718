// SPDX-License-Identifier: MIT
#include "protocol/ChatSession.h"

#include "protocol/SocketFilter.h"
#include "resources/Texts.h"

namespace korvane {

ChatSession::ChatSession(ChatHost& host, SessionOptions options,
                         std::unique_ptr<BroadcastWriter> writer)
    : host_(host),
      options_(std::move(options)),
      members_(tableMutex_, host),
      outDomain_(tableMutex_),
      writer_(writer ? std::move(writer)
                     : std::make_unique<SocketBroadcastWriter>(options_.carriers)),
      sender_(state_, outDomain_, *writer_, host, host, options_.carriers.udpPort),
      liveness_(members_, sender_, host, host, options_.liveness),
      dispatcher_(state_, members_, sender_, liveness_, host, host, host) {
  state_.SetOwnAddress(MakeFixedText<16>(options_.ownAddress));
}

ChatSession::~ChatSession() {
  CloseCarriers();
  JoinReceiveLoop();
}

bool ChatSession::OpenCarriers(Receiving receiving) {
  slot_ = BroadcastSlot::Open(options_.carriers);
  if (!slot_) return false;
  FilterSlot();
  socket_ = UdpCarrier::Open(std::string(TextOf(state_.OwnAddress())), options_.carriers.udpPort);
  sender_.SetSocket(socket_.get());
  loop_ = std::make_unique<ReceiveLoop>(
      *slot_, socket_.get(), host_,
      [this](std::span<const std::uint8_t> packet) { dispatcher_.DispatchPacket(packet); });
  if (receiving == Receiving::Now) StartReceiving();
  return true;
}

void ChatSession::StartReceiving() { loop_->Start(options_.receivePeriod); }

void ChatSession::CloseCarriers() {
  if (slot_) slot_->Close();
  if (socket_) socket_->Close();
}

void ChatSession::JoinReceiveLoop() {
  if (loop_) loop_->Join();
}

void ChatSession::Login(const HandleText& handle) {
  if (state_.m_bLoggedIn.load() == 1) return;
  state_.SetOwnHandle(handle);
  // Logged in, and the liveness timer running, before the announcement goes out: the
  // receive loop may read it back, or a refusal of the handle, at once. The refusal logs out
  // and must find the timer there to stop.
  state_.m_bLoggedIn = 1;
  Announce();
}

void ChatSession::Logout() {
  if (state_.m_bLoggedIn.load() == 0) return;
  Leave();
  state_.m_bLoggedIn = 0;
  host_.ShowLine(Cp932<text::kLoggedOut>(), LineKind::Notice);
}

void ChatSession::ChangeOwnAddress(const std::string& address) {
  const bool loggedIn = state_.m_bLoggedIn.load() == 1;
  // The others hold the handle under the old address: without this departure they would
  // refuse the new login as a handle in use.
  if (loggedIn) Leave();
  state_.SetOwnAddress(MakeFixedText<16>(address));
  FilterSlot();  // before anyone can answer under the new address
  if (socket_) socket_->Bind(address);
  if (loggedIn) Announce();
}

void ChatSession::KeepTraces(bool kept) {
  tracesKept_ = kept;
  FilterSlot();
}

void ChatSession::FilterSlot() {
  if (!slot_) return;
  // Refused, the filter only leaves the copy doing the work it did without one.
  (void)slot_->SetFilter(tracesKept_ ? std::vector<sock_filter>{} : DropOthersHealthReplies(state_.OwnAddress()));
}

void ChatSession::Announce() {
  liveness_.Start();
  sender_.SendHello();
}

void ChatSession::Leave() {
  liveness_.Stop();
  host_.SetMemberCaption(Cp932<text::kConnectedMembers>());
  members_.Clear();
  sender_.SendBye();  // still logged in, so it goes out
}

void ChatSession::OnTimer(LivenessTimer timer) {
  switch (timer) {
    case LivenessTimer::Probe: liveness_.OnProbeTimer(); break;
    case LivenessTimer::Answer: liveness_.OnAnswerTimer(); break;
  }
}

}  // namespace korvane
