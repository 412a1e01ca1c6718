#include "protocol/LivenessCheck.h"

#include "protocol/UserTexts.h"

namespace korvane {

void LivenessCheck::OnProbeTimer() {
  SnapshotMembers();
  sender_.SendHealthQuery();
  host_.SetTimer(kAnswerTimer, intervals_.answerWindow);
  host_.SetMemberCaption(UpdatingMembersCaption());
}

void LivenessCheck::OnAnswerTimer() {
  host_.SetMemberCaption("");
  host_.SetMemberCaption(ConnectedMembersCaption());
  host_.KillTimer(kAnswerTimer);
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
  // One step: no answer can be marked, and no row added or removed, half-way through.
  std::lock_guard lock(members_.Mutex());
  for (const AddressText& address : probes_.Silent()) {
    const int row = members_.FindMemberByAddress(address);
    const auto handle = members_.HandleOf(row);
    if (!handle) continue;  // left meanwhile
    lines_.ShowLine(MemberNotice(MemberEvent::MayHaveLeft, *handle), LineKind::Notice);
    members_.RemoveMember(row);
  }
}

int LivenessCheck::ProbeCount() const {
  std::lock_guard lock(members_.Mutex());
  return probes_.Count();
}

}  // namespace korvane
