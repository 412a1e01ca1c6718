// SPDX-License-Identifier: MIT
#pragma once
// Every probe period a logged-in copy asks all others whether they are still there, and at
// the end of the answer window removes the members that did not answer.

#include <chrono>
#include <mutex>
#include <string>

#include "protocol/LineSink.h"
#include "protocol/MemberTable.h"
#include "protocol/PacketSender.h"
#include "protocol/ProbeTable.h"

namespace korvane {

// The window's timers of the check, by their window timer ids.
enum class LivenessTimer { Probe = 200, Answer = 300 };

struct LivenessIntervals {
  std::chrono::milliseconds probePeriod{90000};
  std::chrono::milliseconds answerWindow{10000};
};

// The window's side of the check: its repeating timers and the caption above the list.
class LivenessHost {
 public:
  virtual ~LivenessHost() = default;
  // (Re)starts repeating timer id; its ticks come back through the window's timer handler.
  virtual void SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) = 0;
  virtual void KillTimer(LivenessTimer timer) = 0;
  virtual void SetMemberCaption(const std::string& text) = 0;  // code page 932
};

class LivenessCheck {
 public:
  LivenessCheck(MemberTable& members, PacketSender& sender, LineSink& lines, LivenessHost& host,
                LivenessIntervals intervals)
      : members_(members), sender_(sender), lines_(lines), host_(host), intervals_(intervals) {}

  void Start() { host_.SetTimer(LivenessTimer::Probe, intervals_.probePeriod); }  // at login
  void Stop() { host_.KillTimer(LivenessTimer::Probe); }                          // at logout

  void OnProbeTimer();
  void OnAnswerTimer();

  void SnapshotMembers();
  void MarkAlive(const AddressText& address);
  void ReportSilentMembers();

  int ProbeCount() const;

 private:
  MemberTable& members_;
  PacketSender& sender_;
  LineSink& lines_;
  LivenessHost& host_;
  LivenessIntervals intervals_;
  ProbeTable probes_;  // guarded by the table lock
};

}  // namespace korvane
