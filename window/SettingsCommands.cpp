// SPDX-License-Identifier: MIT
// The settings command: the dialog, and what its Apply puts in force.

#include "window/CChatDlg.h"
#include "display/CMessageList.h"

namespace korvane {

void CChatDlg::OpenSettings() {
  PageSeed seed{m_settings};
  seed.record.crText = m_crText;
  seed.record.crBack = m_crBack;
  CSettingsDlg dialog(seed, *this);
  dialog.exec();
}

void CChatDlg::PutSettingsInForce(SettingsRecord& record) {
  record.bShowSysMsg = m_bSystemMessages.load();
  record.bAutoWrap = m_bAutoWrap.load();
  record.bEcho = m_session->State().m_bEcho.load();
  ShowFileError(ConfigureLog(record));
  m_crText = record.crText;
  m_crBack = record.crBack;
  m_session->OutDomain().LoadChosen(record);
  ShowFileError(WriteSettingsFile(record, m_options.settingsFile));
}

FileResult CChatDlg::ConfigureLog(const SettingsRecord& settings) {
  // Trace lines flow before a log is put on and stop only once it is off: none is missed.
  const bool logOn = settings.nLogMode == 1;
  if (logOn) m_session->KeepTraces(true);
  const FileResult configured = m_log.ConfigureLog(settings);
  if (!logOn) m_session->KeepTraces(false);
  return configured;
}

void CChatDlg::ReloadSettings() {
  ShowFileError(ReadSettingsFile(m_settings, m_options.settingsFile));
  m_nIconAction = m_settings.nIconAction;
  // The lines in the colours now in force; while logged out the display is left alone.
  if (m_session->State().m_bLoggedIn.load() == 1) m_wndMessageList->viewport()->update();
}

}  // namespace korvane
