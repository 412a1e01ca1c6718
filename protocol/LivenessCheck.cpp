// SPDX-License-Identifier: MIT
#include "protocol/LivenessCheck.h"

#include "resources/Texts.h"

namespace korvane {

void LivenessCheck::OnProbeTimer() {
  SnapshotMembers();
  sender_.SendHealthQuery();
  host_.SetTimer(LivenessTimer::Answer, intervals_.answerWindow);
  host_.SetMemberCaption(Cp932<text::kUpdatingMembers>());
}

void LivenessCheck::OnAnswerTimer() {
  host_.SetMemberCaption("");
  host_.SetMemberCaption(Cp932<text::kConnectedMembers>());
  host_.KillTimer(LivenessTimer::Answer);
  ReportSilentMembers();
}

void LivenessCheck::SnapshotMembers() {
  std::lock_guard lock(members_.Mutex());
  std::vector<AddressText> addresses;
  for (const MemberRow& row : members_.Rows()) addresses.push_back(row.address);
  probes_.Snapshot(addresses);
}

void LivenessCheck::MarkAlive(const AddressText& address) {
  std::lock_guard lock(members_.Mutex());
  probes_.MarkAlive(address);
}

void LivenessCheck::ReportSilentMembers() {
  std::vector<std::string> silent;
  {
    // One step: no answer can be marked, and no row added or removed, half-way through.
    std::lock_guard lock(members_.Mutex());
    for (const AddressText& address : probes_.Silent()) {
      // A member that left meanwhile is passed over.
      if (auto handle = members_.RemoveMemberByAddress(address)) silent.push_back(std::move(*handle));
    }
  }
  // Told once the lock is released: a line may wait for the window (a box about the log),
  // and the receive thread must not wait for the lock meanwhile.
  for (const std::string& handle : silent)
    lines_.ShowLine(FillFormat(Cp932<text::kMemberMayHaveLeft>(), {handle}), LineKind::Notice);
}

int LivenessCheck::ProbeCount() const {
  std::lock_guard lock(members_.Mutex());
  return probes_.Count();
}

}  // namespace korvane
