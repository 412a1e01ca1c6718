// SPDX-License-Identifier: MIT
// What the protocol side asks of the window, from either thread. Widget changes go through
// the ordered queue, so the display shows them in the order they were made.

#include <QLabel>
#include <cstdlib>

#include "display/CMemberList.h"
#include "display/ChatLine.h"
#include "display/MinimisedAlert.h"
#include "display/TrayIcon.h"
#include "platform/QtText.h"
#include "platform/MessageBox.h"
#include "resources/Texts.h"
#include "window/CChatDlg.h"

namespace korvane {

void CChatDlg::ShowLine(const std::string& text, LineKind kind) {
  FileResult failure;
  {
    // One line at a time, log and display in the same order.
    std::lock_guard lock(m_showLineMutex);
    if (m_log.LogOn()) failure = m_logFailures.Filter(m_log.WriteLogLine(text));
    if (kind == LineKind::Trace) {
      // A trace line only brings the end into view: nothing to do while it is in view, and
      // a scroll already waiting in the queue does it for a whole burst of packets.
      if (!m_displayAtEnd.load() && !m_traceScrollWaiting.exchange(true)) {
        m_display.Post([this] {
          m_traceScrollWaiting = false;
          m_presenter->Present({}, LineKind::Trace, {});
        });
      }
    } else {
      const DisplayOptions options{m_bSystemMessages.load() == 1, m_bAutoWrap.load() == 1};
      m_display.Post([this, text, kind, options] { m_presenter->Present(text, kind, options); });
    }
  }
  // Told once no lock is held: from the receive thread the box waits for the window's thread.
  ShowFileError(failure);
}

void CChatDlg::ShowMessageBox(const std::string& text, unsigned style) { AfxMessageBox(text, style); }

void CChatDlg::ShowChatLine(std::span<const std::uint8_t> packet, int selective) {
  ShowLine(FormatChatLine(PacketView(packet), selective), LineKind::Chat);
}

void CChatDlg::RecordSelection(SelectionRecord& selection) {
  m_wndMemberList->RecordSelection(selection);
}

void CChatDlg::AlertMinimised(const PacketView& packet) {
  switch (AlertFor(m_nIconAction.load())) {
    case MinimisedAlert::Restore:
      m_display.Post([this] { RestoreWindow(); });
      break;
    case MinimisedAlert::ConfirmBox:
      // Each message its own box; nobody waits for it, least of all the receive thread.
      AfxMessageBox(FillFormat(Cp932<text::kMessageAlert>(), {TextOf(packet.Handle())}),
                    MB_ICONINFORMATION | MB_TOPMOST | MB_NOWAIT);
      for (const std::string* banner : {&Cp932<text::kAlertBanner>(), &Cp932<text::kAlertBannerText>(),
                                        &Cp932<text::kAlertBanner>()})
        ShowLine(*banner, LineKind::Notice);
      break;
    case MinimisedAlert::BlinkIcon:
      m_display.Post([this] {
        // Without a notification area there is no icon to blink: the window comes back.
        if (TrayAvailable()) m_blinkTimer.start();
        else RestoreWindow();
      });
      break;
    case MinimisedAlert::None:
      break;
  }
}

QTimer& CChatDlg::TimerOf(LivenessTimer timer) {
  switch (timer) {
    case LivenessTimer::Probe: return m_probeTimer;
    case LivenessTimer::Answer: return m_answerTimer;
  }
  std::abort();  // not an enumerator: a programming error
}

void CChatDlg::SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) {
  QMetaObject::invokeMethod(this, [this, timer, interval] { TimerOf(timer).start(interval); });
}

void CChatDlg::KillTimer(LivenessTimer timer) {
  QMetaObject::invokeMethod(this, [this, timer] { TimerOf(timer).stop(); });
}

void CChatDlg::SetMemberCaption(const std::string& text) {
  const QString caption = ToQString(text);
  m_display.Post([this, caption] { m_wndMemberLabel->setText(caption); });
}

void CChatDlg::MemberAdded(const MemberRow& member, int count) {
  m_display.Post([this, member, count] {
    m_wndMemberList->AppendMember(member.handle, member.address);
    m_nMemberCount = count;
    UpdateTrayTip();
  });
}

void CChatDlg::MemberRemoved(const MemberRow& member, int count) {
  m_display.Post([this, member, count] {
    m_wndMemberList->RemoveMember(member.address);
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
