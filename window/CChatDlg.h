// SPDX-License-Identifier: MIT
#pragma once
// The main window: it holds the run-time state of the chat and composes the protocol
// session, the chat log and the display. The receive thread reaches it through ChatHost;
// every widget change it asks for is handed to the UI thread in the order asked.

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "chatlog/ChatLog.h"
#include "chatlog/LogFailureNotice.h"
#include "display/LinePresenter.h"
#include "platform/UiThread.h"
#include "protocol/ChatSession.h"
#include "settings/SettingsRecord.h"
#include "window/ChatDlgOptions.h"
#include "resources/Menus.h"
#include "window/CSettingsDlg.h"
#include "window/CommandActions.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;

namespace korvane {

class CMemberList;
class CMessageList;
class TrayIcon;

class CChatDlg : public QDialog, public ChatHost, public SettingsTarget {
  Q_OBJECT

 public:
  explicit CChatDlg(ChatDlgOptions options = {}, QWidget* parent = nullptr);
  ~CChatDlg() override;

  // Shows the window and runs it until it is closed. Unlike QDialog::exec(), hiding the
  // window into the tray does not end the run.
  void RunModal();

  // Commands of the window; menus, buttons and keys reach them through Action(id).
  void Login();
  void Logout() override;  // also the dispatcher's, from the receive thread
  void OnSend();
  int SendFixedPhrase(char c);
  void ClearDisplay();
  void DeselectAllMembers();
  void SendBye();
  void ToggleSystemMessages();
  void ToggleAutoWrap();
  void ToggleEcho();
  void ShowOptionStates();
  void ShowFixedPhrases();
  void OpenHelp();
  void ViewLog();
  void ShowAbout();
  void OpenSettings();

  // SettingsTarget
  void PutSettingsInForce(SettingsRecord& record) override;
  void ReloadSettings() override;
  QAction* Action(int id) const { return m_actions->Get(id); }

  // ChatHost
  void ShowLine(const std::string& text, LineKind kind) override;
  void BeginPacketLines() override { m_log.HoldName(); }
  void EndPacketLines() override { m_log.ReleaseName(); }
  void ShowMessageBox(const std::string& text, unsigned style) override;
  void ShowChatLine(std::span<const std::uint8_t> packet, int selective) override;
  void RecordSelection(SelectionRecord& selection) override;
  bool IsIconic() override { return m_bIconic.load(); }
  void AlertMinimised(const PacketView& packet) override;
  void SetTimer(LivenessTimer timer, std::chrono::milliseconds interval) override;
  void KillTimer(LivenessTimer timer) override;
  void SetMemberCaption(const std::string& text) override;
  void MemberAdded(const MemberRow& member, int count) override;
  void MemberRemoved(const MemberRow& member, int count) override;
  void MembersCleared() override;

  // State, for the application object and tests.
  ChatSession& Session() { return *m_session; }
  CChatLog& Log() { return m_log; }
  const SettingsRecord& Settings() const { return m_settings; }
  TrayIcon& Tray() { return *m_tray; }
  QWidget& Client() { return *m_client; }
  int DefaultButtonId() const { return m_nDefaultButton; }
  int MemberCount() const { return m_nMemberCount; }
  int ListWidth() const { return m_nListWidth; }

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  static constexpr int kMaxHandleBytes = 32;

  void ReadStartupSettings();
  void BuildControls();
  void ConnectCommands();
  void BuildMenus();
  void PopUpMenu(std::span<const MenuItem> items, QPoint where);
  void OnCreate();
  void OnInitDialog();
  // The own address at the start, and from then on the host's, as the network changes.
  std::string ChooseStartAddress();
  void FollowNetwork();
  void SetLoggedOutLayout();
  void SetLoggedInLayout();
  // The message display, its input and label, and the member list.
  void EnableChatControls(bool enabled);
  void SetDefaultButton(int id);
  void ShowFileError(const FileResult& result);
  // The chat log's part of the settings, and whether the session must keep its trace lines.
  FileResult ConfigureLog(const SettingsRecord& settings);
  QTimer& TimerOf(LivenessTimer timer);
  void MinimiseIntoTray();
  void RestoreFromTray();
  void RestoreWindow();
  void OnBlinkTimer();
  // Inverts flag (1 becomes 0, anything else 1) and its check mark; returns the new value.
  std::int32_t FlipOption(std::atomic<std::int32_t>& flag, int command);
  void SaveOption(std::int32_t SettingsRecord::*field, std::int32_t value);
  void UpdateTrayTip();
  void OnDestroy();
  bool TrayAvailable() const;

  ChatDlgOptions m_options;
  SettingsRecord m_settings{};
  std::int32_t m_bInitialMinimizeDone = 1;
  QIcon m_hIcon;
  QIcon m_hAlertIcon;
  std::uint32_t m_crText = 0;
  std::uint32_t m_crBack = 0;
  std::atomic<std::int32_t> m_bSystemMessages{0};
  std::atomic<std::int32_t> m_bAutoWrap{0};
  std::atomic<std::int32_t> m_nIconAction{0};  // the receive thread's copy of nIconAction
  std::int32_t m_bBlinkPhase = 0;
  int m_nListWidth = 0;
  int m_nMemberCount = 0;  // as the display has it
  int m_nDefaultButton = 0;
  std::atomic<bool> m_bIconic{false};

  QWidget* m_client = nullptr;  // the template's client area, below the menu bar
  QToolBar* m_wndToolBar = nullptr;
  QMenu* m_trayMenu = nullptr;
  QLabel* m_wndMemberLabel = nullptr;
  CMemberList* m_wndMemberList = nullptr;
  QLabel* m_wndInputLabel = nullptr;
  CMessageList* m_wndMessageList = nullptr;
  QGroupBox* m_btnLoginGroup = nullptr;
  QPushButton* m_btnLogout = nullptr;
  QPushButton* m_btnLogin = nullptr;
  QLineEdit* m_editHandle = nullptr;
  QPushButton* m_btnSend = nullptr;
  QLineEdit* m_editMessage = nullptr;
  std::unique_ptr<CommandActions> m_actions;

  CChatLog m_log;
  OrderedUiQueue m_display;
  std::unique_ptr<LinePresenter> m_presenter;
  std::mutex m_showLineMutex;
  LogFailureNotice m_logFailures;  // under m_showLineMutex
  std::atomic<bool> m_displayAtEnd{true};  // kept by the window's thread
  std::atomic<bool> m_traceScrollWaiting{false};
  TrayIcon* m_tray = nullptr;
  QTimer m_blinkTimer;
  QTimer m_probeTimer;
  QTimer m_answerTimer;
  std::unique_ptr<ChatSession> m_session;
};

}  // namespace korvane
