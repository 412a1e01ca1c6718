// SPDX-License-Identifier: MIT
#pragma once
// One copy of the chat on the network, without any window: its identity and state, the
// member and probe tables, both carriers, the receive loop, the dispatcher and the liveness
// check, wired together. The window drives it and implements ChatHost; tests run several
// of them in one process.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "platform/BroadcastSlot.h"
#include "platform/BroadcastWriter.h"
#include "platform/CarrierConfig.h"
#include "platform/UdpCarrier.h"
#include "protocol/Dispatcher.h"
#include "protocol/LivenessCheck.h"
#include "protocol/MemberTable.h"
#include "protocol/OutDomainTable.h"
#include "protocol/PacketSender.h"
#include "protocol/ReceiveLoop.h"
#include "protocol/SessionState.h"

namespace korvane {

// Everything the window offers the protocol side.
class ChatHost : public LineSink,
                 public MessageBoxHost,
                 public ChatSendHost,
                 public DispatchHost,
                 public LivenessHost,
                 public MemberListView {};

struct SessionOptions {
  std::string ownAddress;  // dotted decimal, at the start
  CarrierConfig carriers;
  LivenessIntervals liveness;
  // The longest the receive loop waits between cycles; by default only a datagram or the
  // close wakes it.
  std::chrono::milliseconds receivePeriod = ReceiveLoop::kNoBound;
};

class ChatSession {
 public:
  // writer replaces the broadcast carrier's write end (tests); by default it is the socket
  // writer for options.carriers.
  ChatSession(ChatHost& host, SessionOptions options,
              std::unique_ptr<BroadcastWriter> writer = nullptr);
  ~ChatSession();
  ChatSession(const ChatSession&) = delete;
  ChatSession& operator=(const ChatSession&) = delete;

  enum class Receiving { Now, Later };
  // Opens the broadcast slot, then the unicast socket (which may fail unnoticed, as packets
  // still go out by broadcast), then starts the receive loop, or with Later leaves that to
  // StartReceiving(). False when the slot cannot be opened: then nothing else is opened.
  bool OpenCarriers(Receiving receiving = Receiving::Now);
  // The loop reads at once what arrives; a window that is still setting itself up (its log)
  // starts it once it is ready, and what arrived meanwhile waits in the carriers.
  void StartReceiving();
  // Closes both carriers; the receive loop wakes at once and ends.
  void CloseCarriers();
  void JoinReceiveLoop();

  // The protocol's part of logging in and out; the window adds its own.
  void Login(const HandleText& handle);
  void Logout();
  // Puts a new own address in force, the unicast socket's binding included. Logged in, the
  // copy leaves under the old address and logs in again under the new one with the same
  // handle, as a fresh login does; the member list starts empty.
  void ChangeOwnAddress(const std::string& address);
  // Whether the host keeps trace lines (a log is on). While it keeps none, the others'
  // answers to each other stay in the kernel: they change nothing else. Called before a log
  // is put on and after it is put off, so no trace line it should hold is missed.
  void KeepTraces(bool kept);
  void OnTimer(LivenessTimer timer);

  SessionState& State() { return state_; }
  MemberTable& Members() { return members_; }
  OutDomainTable& OutDomain() { return outDomain_; }
  PacketSender& Sender() { return sender_; }
  LivenessCheck& Liveness() { return liveness_; }
  Dispatcher& Dispatch() { return dispatcher_; }
  bool CarriersOpen() const { return slot_ != nullptr; }

 private:
  // The shared parts of a login and of a logout.
  void Announce();
  void Leave();
  void FilterSlot();

  ChatHost& host_;
  SessionOptions options_;
  std::recursive_mutex tableMutex_;
  SessionState state_;
  MemberTable members_;
  OutDomainTable outDomain_;
  std::unique_ptr<BroadcastWriter> writer_;
  PacketSender sender_;
  LivenessCheck liveness_;
  Dispatcher dispatcher_;
  std::unique_ptr<BroadcastSlot> slot_;
  std::unique_ptr<UdpCarrier> socket_;
  std::unique_ptr<ReceiveLoop> loop_;
  bool tracesKept_ = true;
};

}  // namespace korvane
