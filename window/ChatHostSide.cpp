// What the protocol side asks of the window, from either thread. Widget changes go through
// the ordered queue, so the display shows them in the order they were made.

#include <QLabel>

#include "display/CMemberList.h"
#include "display/ChatLine.h"
#include "display/TrayIcon.h"
#include "platform/QtText.h"
#include "settings/FileAccess.h"
#include "window/CChatDlg.h"

namespace korvane {

void CChatDlg::ShowLine(const std::string& text, LineKind kind) {
  std::optional<LogWriteFailure> failure;
  {
    // One line at a time, log and display in the same order.
    std::lock_guard lock(m_showLineMutex);
    if (m_log.LogOn()) failure = m_log.TryWriteLogLine(text);
    const DisplayOptions options{m_bSystemMessages.load() == 1, m_bAutoWrap.load() == 1};
    m_display.Post([this, text, kind, options] { m_presenter->Present(text, kind, options); });
  }
  // Told once no lock is held: from the receive thread the box waits for the window's thread.
  if (failure) ShowFileError(failure->action, failure->fileName);
}

void CChatDlg::ShowChatLine(std::span<const std::uint8_t> packet, int selective) {
  ShowLine(FormatChatLine(PacketView(packet), selective), LineKind::Chat);
}

void CChatDlg::RecordSelection(SelectionRecord& selection) {
  m_wndMemberList->RecordSelection(selection);
}

void CChatDlg::AlertMinimised(const PacketView&) {
  // Alerts while minimised (restore, confirmation box, blinking icon) are not built yet.
}

void CChatDlg::SetTimer(int id, std::chrono::milliseconds interval) {
  QMetaObject::invokeMethod(this, [this, id, interval] {
    QTimer& timer = id == kProbeTimer ? m_probeTimer : m_answerTimer;
    timer.start(interval);
  });
}

void CChatDlg::KillTimer(int id) {
  QMetaObject::invokeMethod(this, [this, id] { (id == kProbeTimer ? m_probeTimer : m_answerTimer).stop(); });
}

void CChatDlg::SetMemberCaption(const std::string& text) {
  const QString caption = ToQString(text);
  m_display.Post([this, caption] { m_wndMemberLabel->setText(caption); });
}

void CChatDlg::MemberAdded(int row, const MemberRow& member, int count) {
  m_display.Post([this, row, member, count] {
    m_wndMemberList->InsertMember(row, member.handle, member.address);
    m_nMemberCount = count;
    UpdateTrayTip();
  });
}

void CChatDlg::MemberRemoved(int row, int count) {
  m_display.Post([this, row, count] {
    m_wndMemberList->RemoveMember(row);
    m_nMemberCount = count;
    UpdateTrayTip();
  });
}

void CChatDlg::MembersCleared() {
  m_display.Post([this] {
    m_wndMemberList->ClearMembers();
    m_nMemberCount = 0;
    UpdateTrayTip();
  });
}

}  // namespace korvane
