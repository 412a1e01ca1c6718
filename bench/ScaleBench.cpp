// SPDX-License-Identifier: MIT
// How a copy fares on a LAN of n copies: one real window-less copy (the protocol core with
// its receive loop, dispatcher, liveness check and optionally the chat log) and the
// liveness traffic of n - 1 others, played by one generator thread. Each of them asks once
// a period (CMD_HLTHY, spread evenly over the period) and every copy answers every query by
// broadcast (RSP_HLTHY), so a copy receives n queries and n (n - 1) answers, its own
// included: n² packets a period. The copy's own query is answered by the n - 1 others at
// once. With the log off the copy's socket filter drops the answers between others in the
// kernel, in the sending thread's context on loopback: the generator pays for it here, as a
// desktop's kernel does outside the program on a LAN. Everything runs on 127.0.0.0/8 in a
// network namespace of its own (needs root), so the copy uses the program's real ports and
// broadcast address 127.255.255.255.
//
// Usage: bench_scale <n> <period ms> <periods> [log file]
// Prints one line of JSON with the figures of the measured periods.

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "chatlog/ChatLog.h"
#include "platform/DatagramSocket.h"
#include "platform/Ipv4.h"
#include "protocol/ChatSession.h"
#include "protocol/Packet.h"
#include "resources/Texts.h"

namespace {

// The receive buffer the kernel grants a socket of the program's, in bytes (0 when unknown).
int ReceiveBufferBytes(const korvane::UniqueFd& socket) {
  int bytes = 0;
  socklen_t size = sizeof bytes;
  if (::getsockopt(socket.Get(), SOL_SOCKET, SO_RCVBUF, &bytes, &size) != 0) return 0;
  return bytes;
}

using namespace korvane;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ThreadSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

long StatusKB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

// A counter of the UDP line of /proc/net/snmp: of this namespace, so of the copy alone.
long UdpCounter(const std::string& field) {
  std::ifstream snmp("/proc/net/snmp");
  std::string header, values;
  while (std::getline(snmp, header) && std::getline(snmp, values)) {
    if (header.rfind("Udp:", 0) != 0) continue;
    std::istringstream names(header), numbers(values);
    std::string name, number;
    while (names >> name && numbers >> number)
      if (name == field) return std::stol(number);
  }
  return -1;
}

// A private network with only loopback, so the real ports are free and nothing leaves.
bool EnterOwnNetwork() {
  if (::unshare(CLONE_NEWNET) != 0) return false;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  std::strcpy(request.ifr_name, "lo");
  request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
  const bool up = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  ::close(fd);
  return up;
}

AddressText PeerAddress(int peer) {  // peers 1..n-1 at 127.1.x.y
  return MakeFixedText<16>("127.1." + std::to_string(peer / 250) + "." + std::to_string(peer % 250 + 1));
}

// Sends as the n - 1 other copies, to the broadcast address.
class Peers {
 public:
  explicit Peers(int n) : n_(n), socket_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    const int on = 1;
    ::setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    destination_ = *MakeSocketAddress("127.255.255.255", 9829);
  }
  ~Peers() { ::close(socket_); }

  void Query(int peer) {
    Send(BuildHealthQuery(packet_, PeerAddress(peer)));
    const long before = sent_;
    for (int other = 1; other < n_; ++other)
      if (other != peer) Answer(other, PeerAddress(peer));
    betweenOthers_ += sent_ - before;
  }
  void Answer(int peer, const AddressText& target) {
    Send(BuildHealthReply(packet_, PeerAddress(peer), target, Handle(peer)));
  }
  void Hello(int peer, const AddressText& target) {
    Send(BuildHelloReply(packet_, PeerAddress(peer), target, Handle(peer)));
  }
  long Sent() const { return sent_; }
  // Answers from one of the others to another: what the copy's socket filter drops.
  long BetweenOthers() const { return betweenOthers_; }

 private:
  static HandleText Handle(int peer) { return MakeFixedText<50>("peer" + std::to_string(peer)); }
  void Send(int payload) {
    StampPacket(packet_, payload, ++tag_);
    const auto size = static_cast<std::size_t>(payload + kPacketOverhead);
    if (::sendto(socket_, packet_.data(), size, 0, reinterpret_cast<const sockaddr*>(&destination_),
                 sizeof destination_) == static_cast<ssize_t>(size))
      ++sent_;
  }

  int n_;
  int socket_;
  sockaddr_in destination_{};
  std::array<std::uint8_t, kMaxPacket> packet_{};
  std::uint32_t tag_ = 0;
  long sent_ = 0;
  long betweenOthers_ = 0;
};

// The window's part, without a window: timers on a thread of their own (as the UI thread
// runs them), lines counted and, with a log file, written to the chat log.
class HeadlessWindow : public ChatHost {
 public:
  explicit HeadlessWindow(const std::string& logFile) {
    if (logFile.empty()) return;
    SettingsRecord settings;
    settings.nLogMode = 1;
    SetFieldText(settings.szLogFile, logFile);
    settings.bLogSizeLimit = 1;
    SetFieldText(settings.szLogSizeKB, "1024");
    log_.ConfigureLog(settings);
  }
  void Attach(ChatSession& session) { session_ = &session; }

  void ShowLine(const std::string& text, LineKind kind) override {
    std::lock_guard lock(lineMutex_);
    if (log_.LogOn() && log_.WriteLogLine(text)) ++logFailures;
    if (kind == LineKind::Notice && text.find(silentMark_) != std::string::npos) ++silentNotices;
  }
  // Trace lines only go to the log.
  bool TakesTraces() const override { return log_.LogOn(); }
  void BeginPacketLines() override { log_.HoldName(); }
  void EndPacketLines() override { log_.ReleaseName(); }
  void ShowMessageBox(const std::string&, unsigned) override {}
  void RecordSelection(SelectionRecord&) override {}
  void ShowChatLine(std::span<const std::uint8_t>, int) override {}
  bool IsIconic() override { return false; }
  void AlertMinimised(const PacketView&) override {}
  void Logout() override {}
  void SetMemberCaption(const std::string&) override {}
  void MemberAdded(const MemberRow&, int count) override { members = count; }
  void MemberRemoved(const MemberRow&, int count) override { members = count; }
  void MembersCleared() override { members = 0; }

  void SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) override {
    std::lock_guard lock(timerMutex_);
    timers_[timer] = {Clock::now() + interval, interval};
    timerChanged_.notify_all();
  }
  void KillTimer(LivenessTimer timer) override {
    std::lock_guard lock(timerMutex_);
    timers_.erase(timer);
  }

  // Runs the timers until StopTimers(); a repeating timer fires every interval, as QTimer
  // does. Sleeps until the next one is due, so it costs nothing in between.
  void RunTimers() {
    std::unique_lock lock(timerMutex_);
    while (!stopped_) {
      std::optional<Clock::time_point> next;
      for (const auto& [timer, schedule] : timers_)
        if (!next || schedule.due < *next) next = schedule.due;
      if (next) timerChanged_.wait_until(lock, *next);
      else timerChanged_.wait(lock);
      for (auto& [timer, schedule] : timers_) {
        if (schedule.due > Clock::now()) continue;
        schedule.due += schedule.interval;
        const LivenessTimer fired = timer;
        lock.unlock();
        session_->OnTimer(fired);
        lock.lock();
        break;  // the handler may have changed the timers
      }
    }
  }
  void StopTimers() {
    std::lock_guard lock(timerMutex_);
    stopped_ = true;
    timerChanged_.notify_all();
  }

  std::atomic<long> silentNotices{0};
  std::atomic<long> logFailures{0};
  std::atomic<int> members{0};

 private:
  struct Schedule {
    Clock::time_point due;
    std::chrono::milliseconds interval;
  };
  ChatSession* session_ = nullptr;
  CChatLog log_;
  std::mutex lineMutex_;
  const std::string silentMark_ = Cp932<text::kMemberMayHaveLeft>().substr(12);
  std::mutex timerMutex_;
  std::condition_variable timerChanged_;
  std::map<LivenessTimer, Schedule> timers_;
  bool stopped_ = false;
};

// The copy's own broadcasts go out as the program sends them; its queries also make the
// peers answer, at once, as they would.
class WatchedWriter : public BroadcastWriter {
 public:
  explicit WatchedWriter(const CarrierConfig& carriers) : socket_(carriers) {}
  BroadcastResult Write(std::span<const std::uint8_t> packet) override {
    const BroadcastResult result = socket_.Write(packet);
    if (result == BroadcastResult::Sent) ++sent;
    if (PacketView(packet).HasCode(code::kCmdHlthy)) {
      std::lock_guard lock(mutex);
      ++queries;
      asked.notify_all();
    }
    return result;
  }
  std::atomic<long> sent{0};
  std::mutex mutex;
  std::condition_variable asked;
  long queries = 0;  // under mutex

 private:
  SocketBroadcastWriter socket_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <n> <period ms> <periods> [log file]\n", argv[0]);
    return 2;
  }
  const int n = std::stoi(argv[1]);
  const auto period = std::chrono::milliseconds(std::stol(argv[2]));
  const int periods = std::stoi(argv[3]);
  const std::string logFile = argc > 4 ? argv[4] : "";
  if (!EnterOwnNetwork()) {
    std::fprintf(stderr, "bench_scale: needs root for a network namespace of its own\n");
    return 3;
  }
  const long rssBefore = StatusKB("VmRSS:");

  HeadlessWindow window(logFile);
  SessionOptions options;
  options.ownAddress = "127.0.0.1";
  // The answer window keeps its share of the period (10 s of 90 s).
  options.liveness = {period, period / 9};
  auto writerOwned = std::make_unique<WatchedWriter>(options.carriers);
  WatchedWriter& writer = *writerOwned;
  ChatSession session(window, options, std::move(writerOwned));
  window.Attach(session);
  if (!session.OpenCarriers()) {
    std::fprintf(stderr, "bench_scale: cannot open the carriers\n");
    return 1;
  }
  // As the window does: trace lines are kept only in a log.
  session.KeepTraces(!logFile.empty());
  std::thread timers([&] { window.RunTimers(); });

  Peers peers(n);
  session.Login(MakeFixedText<50>("observed"));
  // The others answer the login, so the copy knows them all before the first check.
  for (int peer = 1; peer < n; ++peer) peers.Hello(peer, MakeFixedText<16>("127.0.0.1"));
  for (auto deadline = Clock::now() + 10s; window.members < n - 1 && Clock::now() < deadline;)
    std::this_thread::sleep_for(5ms);

  // The others' queries for the measured periods; their answers to the copy's queries until
  // the end, the last check's included.
  std::atomic<bool> quiet{false};
  std::atomic<bool> finished{false};
  double generatorSeconds = 0;
  // Counted before the generator starts: its first burst goes at once. Read: every datagram
  // the copy's sockets took in (it reads them all before the end).
  const long readBefore = UdpCounter("InDatagrams");
  const long sentBefore = peers.Sent() + writer.sent;
  const long betweenBefore = peers.BetweenOthers();
  const long dropsBefore = UdpCounter("RcvbufErrors");
  const long errorsBefore = UdpCounter("InErrors");
  const double cpuBefore = ThreadSeconds(CLOCK_PROCESS_CPUTIME_ID);
  std::thread generator([&] {
    const double start = ThreadSeconds(CLOCK_THREAD_CPUTIME_ID);
    long answered = 0;
    const auto begin = Clock::now();
    const auto end = begin + period * periods;
    const int others = std::max(1, n - 1);
    for (long step = 0; !quiet;) {
      const auto due = step < others * periods ? begin + period * step / others : Clock::now() + 20ms;
      std::unique_lock lock(writer.mutex);
      writer.asked.wait_until(lock, due, [&] { return writer.queries > answered; });
      while (writer.queries > answered) {  // the copy asked: everyone else answers it
        ++answered;
        lock.unlock();
        for (int peer = 1; peer < n; ++peer) peers.Answer(peer, MakeFixedText<16>("127.0.0.1"));
        lock.lock();
      }
      lock.unlock();
      if (step < others * periods && Clock::now() >= due) peers.Query(static_cast<int>(step++ % others) + 1);
      if (step >= others * periods && Clock::now() >= end && !finished) {
        finished = true;
        finished.notify_all();
      }
    }
    generatorSeconds = ThreadSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
  });

  finished.wait(false);  // without waking meanwhile: this thread's CPU time counts as the copy's
  // The copy's last check of the measured periods ends an answer window later.
  std::this_thread::sleep_for(period / 9 + 200ms);
  quiet = true;
  generator.join();
  const double cpu = ThreadSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore - generatorSeconds;
  const long read = UdpCounter("InDatagrams") - readBefore;
  const long sent = peers.Sent() + writer.sent - sentBefore;
  // With the log off the socket filter drops the answers between others; the kernel counts
  // them as receive errors, beside the overflows.
  const long overflows = UdpCounter("RcvbufErrors") - dropsBefore;
  const long filtered = UdpCounter("InErrors") - errorsBefore - overflows;
  const long expected = sent - (logFile.empty() ? peers.BetweenOthers() - betweenBefore : 0);

  const int membersAtEnd = window.members;
  window.StopTimers();
  timers.join();
  session.Logout();
  session.CloseCarriers();
  session.JoinReceiveLoop();

  // What the program's sockets are granted here.
  const int receiveBuffer = ReceiveBufferBytes(BindDatagramSocket("127.0.0.1", 0));
  std::printf(
      "{\"n\": %d, \"period_ms\": %ld, \"periods\": %d, \"log\": %s, \"sent\": %ld, \"read\": %ld, "
      "\"filtered\": %ld, \"lost\": %ld, \"rcvbuf_errors\": %ld, \"silent_notices\": %ld, \"log_failures\": %ld, "
      "\"members\": %d, \"cpu_s\": %.6f, \"generator_cpu_s\": %.6f, \"vmhwm_kb\": %ld, "
      "\"rss_growth_kb\": %ld, \"rcvbuf_bytes\": %d}\n",
      n, static_cast<long>(period.count()), periods, logFile.empty() ? "false" : "true", sent, read,
      filtered, expected - read, overflows, window.silentNotices.load(), window.logFailures.load(),
      membersAtEnd, cpu, generatorSeconds, StatusKB("VmHWM:"), StatusKB("VmRSS:") - rssBefore,
      receiveBuffer);
  return 0;
}
