// SPDX-License-Identifier: MIT
// The user's commands: login, logout, sending, the typed commands and the log's view.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "display/CMemberList.h"
#include "display/CMessageList.h"
#include "platform/QtText.h"
#include "platform/UiThread.h"
#include "resources/ControlIds.h"
#include "resources/Texts.h"
#include "window/CChatDlg.h"
#include "window/TypedCommands.h"

namespace korvane {
namespace {

// The text of a line edit as the program holds text.
std::string Cp932Of(const QLineEdit& edit) { return ToCp932(edit.text()); }

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void CChatDlg::Login() {
  if (m_session->State().m_bLoggedIn.load() == 1) return;
  const std::string handle = Cp932Of(*m_editHandle);
  if (handle.empty()) {
    ShowLine(Cp932<text::kEnterHandle>(), LineKind::Prompt);
    return;
  }
  SetLoggedInLayout();
  m_editMessage->setFocus();
  SetDefaultButton(id::kSend);
  m_session->Login(MakeFixedText<50>(handle, kMaxHandleBytes));
}

void CChatDlg::Logout() {
  if (!OnUiThread()) {
    // The dispatcher's request: the window's thread does it while the receive thread waits.
    RunOnUiThreadAndWait([this] { Logout(); });
    return;
  }
  if (m_session->State().m_bLoggedIn.load() == 0) return;
  SetLoggedOutLayout();
  m_session->Logout();
  m_editHandle->clear();
  m_editHandle->setFocus();
  m_editMessage->clear();
  SetDefaultButton(id::kLogin);
}

void CChatDlg::OnSend() {
  const std::string line = Cp932Of(*m_editMessage);
  if (const auto digit = FixedPhraseShortcut(line); digit && SendFixedPhrase(*digit) == 0) {
    m_editMessage->clear();
    return;
  }
  if (IsClearCommand(line)) {
    ClearDisplay();
    return;
  }
  if (m_session->State().m_bLoggedIn.load() == 0) {
    ShowLine(Cp932<text::kLogInFirst>(), LineKind::Prompt);
    m_editMessage->clear();
    return;
  }
  if (line.empty()) {
    m_editMessage->setFocus();
    return;
  }
  if (IsByeCommand(line)) {
    Logout();
    return;
  }
  if (!Cp932Holds(m_editMessage->text().toStdString())) {
    // Peers would read '?': refuse it, and leave the text to be mended.
    ShowLine(Cp932<text::kTextNotSendable>(), LineKind::Prompt);
    return;
  }
  if (line.size() > kMaxChatTextBytes) {
    // Peers could never read it: refuse it, and leave the text to be shortened.
    ShowLine(Cp932<text::kTextTooLong>(), LineKind::Prompt);
    return;
  }
  m_session->Sender().SendChat(BytesOf(line));
  m_editMessage->clear();
  m_editMessage->setFocus();
}

int CChatDlg::SendFixedPhrase(char c) {
  if (c < '1' || c > '5') return -1;
  const std::string phrase = FieldText(m_settings.szPhrase[c - '1']);
  m_session->Sender().SendChat(BytesOf(phrase));
  return 0;
}

void CChatDlg::ClearDisplay() {
  m_display.Post([this] {
    m_wndMessageList->ResetContent();
    m_presenter->Clear();
  });
  m_editMessage->clear();
}

void CChatDlg::DeselectAllMembers() { m_wndMemberList->DeselectAllMembers(); }

void CChatDlg::SendBye() { m_session->Sender().SendBye(); }

void CChatDlg::ViewLog() {
  // The copy a desktop's editor can read goes to the user's runtime folder, never beside the log.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/korvane";
  QDir().mkpath(folder);
  ShowFileError(m_log.ViewLog(ToCp932(folder)));
}

}  // namespace korvane
