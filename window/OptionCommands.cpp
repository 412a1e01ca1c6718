// SPDX-License-Identifier: MIT
// The commands of the menus and the toolbar: the three display options, the fixed-phrase
// listing, help and the about box.

#include <QAction>

#include "platform/ShellOpen.h"
#include "resources/Texts.h"
#include "window/CChatDlg.h"

namespace korvane {

std::int32_t CChatDlg::FlipOption(std::atomic<std::int32_t>& flag, int command) {
  flag = flag.load() == 1 ? 0 : 1;
  Action(command)->setChecked(flag.load() == 1);
  return flag.load();
}

void CChatDlg::SaveOption(std::int32_t SettingsRecord::*field, std::int32_t value) {
  m_settings.*field = value;
  // A file that cannot be written is told; the option keeps its new value all the same.
  ShowFileError(WriteSettingsFile(m_settings, m_options.settingsFile));
}

void CChatDlg::ToggleSystemMessages() {
  SaveOption(&SettingsRecord::bShowSysMsg, FlipOption(m_bSystemMessages, id::kSystemMessages));
}

void CChatDlg::ToggleAutoWrap() {
  SaveOption(&SettingsRecord::bAutoWrap, FlipOption(m_bAutoWrap, id::kAutoWrap));
}

void CChatDlg::ToggleEcho() {
  SessionState& state = m_session->State();
  const std::int32_t echo = FlipOption(state.m_bEcho, id::kEcho);
  if (state.m_bLoggedIn.load() == 1) {
    MemberTable& members = m_session->Members();
    const std::string ownHandle(TextOf(state.OwnHandle()));
    if (echo == 1) {
      members.AddMember(ownHandle, state.OwnAddress());
    } else {
      // Found and removed in one step: the receive thread may change the rows meanwhile.
      const std::lock_guard lock(members.Mutex());
      members.RemoveMember(members.FindMemberByHandle(ownHandle));
    }
  }
  SaveOption(&SettingsRecord::bEcho, echo);
}

void CChatDlg::ShowOptionStates() {
  Action(id::kSystemMessages)->setChecked(m_bSystemMessages.load() == 1);
  Action(id::kAutoWrap)->setChecked(m_bAutoWrap.load() == 1);
  Action(id::kEcho)->setChecked(m_session->State().m_bEcho.load() == 1);
}

void CChatDlg::ShowFixedPhrases() {
  // ASCII formats: the same bytes in code page 932.
  const char* const formats[] = {text::kPhraseLine1, text::kPhraseLine2, text::kPhraseLine3,
                                 text::kPhraseLine4, text::kPhraseLine5};
  for (int n = 0; n < 5; ++n)
    ShowLine(FillFormat(formats[n], {FieldText(m_settings.szPhrase[n])}), LineKind::Chat);
}

void CChatDlg::OpenHelp() { ShellOpen(text::kHelpFile); }

void CChatDlg::ShowAbout() {
  if (m_options.showAbout) m_options.showAbout(*this);
}

}  // namespace korvane
