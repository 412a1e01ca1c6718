// SPDX-License-Identifier: MIT
#include "window/CChatDlg.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "display/CMemberList.h"
#include "display/CMessageList.h"
#include "display/TrayIcon.h"
#include "platform/DialogFont.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "resources/Icons.h"
#include "resources/MainDialogTemplate.h"
#include "resources/Texts.h"
#include "settings/SettingsFile.h"
#include "window/Cp932LengthValidator.h"
#include "window/DialogBuilder.h"
#include "window/Menus.h"

namespace korvane {
namespace {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

CChatDlg::CChatDlg(ChatDlgOptions options, QWidget* parent)
    : QDialog(parent), m_options(std::move(options)) {
  m_hIcon = MainIcon();
  m_hAlertIcon = AlertIcon();
  ReadStartupSettings();
  BuildControls();
  OnCreate();
  OnInitDialog();
}

void CChatDlg::ReadStartupSettings() {
  // A file that cannot be read leaves the all-zero record, as an empty file would.
  const FileResult read = LoadSettings(m_settings, m_options.settingsFile);
  ShowFileError(read);
  if (!read) {
    m_bInitialMinimizeDone = m_settings.bIconizeAtStart == 1 ? 0 : 1;
    m_bSystemMessages = m_settings.bShowSysMsg;
    m_bAutoWrap = m_settings.bAutoWrap;
  }
  m_nIconAction = m_settings.nIconAction;
  m_crText = m_settings.crText;
  m_crBack = m_settings.crBack;
}

void CChatDlg::BuildControls() {
  setWindowTitle(QString::fromUtf8(kMainDialog.title));
  // An ordinary top-level window, so task bars and window switchers list it; only its
  // frame's buttons and fixed size are a dialog's.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  // The template gives the client area; the menu bar comes on top of it, as on a dialog
  // that carries a menu.
  m_client = new QWidget(this);
  m_client->setFixedSize(DialogPixelSize(kMainDialog, font()));
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSizeConstraint(QLayout::SetFixedSize);
  frame->addWidget(m_client);

  const BuiltControls controls = BuildDialog(*m_client, kMainDialog, [this](const ControlTemplate& control) -> QWidget* {
    if (control.id == id::kMessageList) return new CMessageList(m_client);
    if (control.id == id::kMemberList) return new CMemberList(m_client);
    return nullptr;
  });
  m_wndMemberLabel = controls.Get<QLabel>(id::kMemberLabel);
  m_wndMemberList = controls.Get<CMemberList>(id::kMemberList);
  m_wndInputLabel = controls.Get<QLabel>(id::kInputLabel);
  m_wndMessageList = controls.Get<CMessageList>(id::kMessageList);
  m_btnLoginGroup = controls.Get<QGroupBox>(id::kLoginGroup);
  m_btnLogout = controls.Get<QPushButton>(id::kLogout);
  m_btnLogin = controls.Get<QPushButton>(id::kLogin);
  m_editHandle = controls.Get<QLineEdit>(id::kHandleInput);
  m_btnSend = controls.Get<QPushButton>(id::kSend);
  m_editMessage = controls.Get<QLineEdit>(id::kMessageInput);

  LimitToCp932(*m_editHandle, kMaxHandleBytes);
  m_actions = std::make_unique<CommandActions>(*this);
  for (const int command : {id::kSend, id::kLogin, id::kLogout, id::kClearDisplay}) {
    auto* button = controls.Get<QPushButton>(command);
    // Enter is routed by the window itself (eventFilter), visible default button or not.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, Action(command), &QAction::trigger);
  }
  ConnectCommands();
  m_wndMessageList->SetColourSource([this] { return std::pair{m_crText, m_crBack}; });
  m_presenter = std::make_unique<LinePresenter>(*m_wndMessageList);
  // Trace lines only bring the end into view, so they wake this thread only while it is out
  // of view: on a large LAN they come three a packet.
  QScrollBar* bar = m_wndMessageList->verticalScrollBar();
  const auto noteEnd = [this, bar] { m_displayAtEnd = bar->value() == bar->maximum(); };
  connect(bar, &QScrollBar::valueChanged, this, noteEnd);
  connect(bar, &QScrollBar::rangeChanged, this, noteEnd);
  // Escape and Enter anywhere in the window's controls reach the window first (menus keep
  // theirs: Escape closes an open menu).
  installEventFilter(this);
  for (QWidget* child : m_client->findChildren<QWidget*>()) child->installEventFilter(this);
  BuildMenus();

  // Whole-second rounding of a coarse 90 s timer would stretch the time to notice a crash.
  m_probeTimer.setTimerType(Qt::PreciseTimer);
  m_answerTimer.setTimerType(Qt::PreciseTimer);
  m_blinkTimer.setInterval(m_options.blinkPeriod);
  connect(&m_blinkTimer, &QTimer::timeout, this, &CChatDlg::OnBlinkTimer);
  connect(&m_probeTimer, &QTimer::timeout, this, [this] { m_session->OnTimer(LivenessTimer::Probe); });
  connect(&m_answerTimer, &QTimer::timeout, this, [this] { m_session->OnTimer(LivenessTimer::Answer); });
}

void CChatDlg::ConnectCommands() {
  const std::pair<int, std::function<void()>> operations[] = {
      {id::kSystemAbout, [this] { ShowAbout(); }},
      {id::kAbout, [this] { ShowAbout(); }},
      {id::kSend, [this] { OnSend(); }},
      {id::kLogin, [this] { Login(); }},
      {id::kLogout, [this] { Logout(); }},
      {id::kClearDisplay, [this] { ClearDisplay(); }},
      {id::kHelp, [this] { OpenHelp(); }},
      {id::kSettings, [this] { OpenSettings(); }},
      {id::kSystemMessages, [this] { ToggleSystemMessages(); }},
      {id::kEcho, [this] { ToggleEcho(); }},
      {id::kShowPhrases, [this] { ShowFixedPhrases(); }},
      {id::kViewLog, [this] { ViewLog(); }},
      {id::kClearLog, [this] { m_log.ClearLog(); }},
      {id::kDeselectAll, [this] { DeselectAllMembers(); }},
      {id::kAutoWrap, [this] { ToggleAutoWrap(); }},
      // Not close(): hidden in the tray, a closed window would never end its run.
      {id::kQuit, [this] { reject(); }},
  };
  for (const auto& [command, operation] : operations)
    connect(Action(command), &QAction::triggered, this, operation);
}

void CChatDlg::BuildMenus() {
  qobject_cast<QVBoxLayout*>(layout())->setMenuBar(BuildMenuBar(*this, *m_actions));
  // Top right of the client area, as the toolbar was placed there.
  m_wndToolBar = BuildToolbar(*m_client, *m_actions);
  m_wndToolBar->setGeometry(360, -5, m_client->width(), m_wndToolBar->sizeHint().height());

  m_trayMenu = new QMenu(this);
  AddMenuItems(*m_trayMenu, kTrayMenuItems, *m_actions);
  const auto offerMenu = [this](QAbstractScrollArea* list, std::span<const MenuItem> items) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list, items](QPoint at) {
      PopUpMenu(items, list->viewport()->mapToGlobal(at));
    });
  };
  offerMenu(m_wndMemberList, kMemberMenuItems);
  offerMenu(m_wndMessageList, kDisplayMenuItems);
}

void CChatDlg::PopUpMenu(std::span<const MenuItem> items, QPoint where) {
  QMenu menu;
  AddMenuItems(menu, items, *m_actions);
  menu.exec(where);
}

void CChatDlg::OnCreate() {
  m_tray = new TrayIcon(this);
  m_tray->SetMenu(m_trayMenu);
  connect(m_tray, &TrayIcon::DoubleClicked, this, &CChatDlg::RestoreFromTray);
  m_tray->AddTrayIcon(m_hIcon, 0);
  if (m_bInitialMinimizeDone == 0) {
    // Runs once the window is shown, after its initialisation.
    QTimer::singleShot(0, this, &CChatDlg::MinimiseIntoTray);
    m_bInitialMinimizeDone = 1;
  }
}

void CChatDlg::OnInitDialog() {
  setWindowIcon(m_hIcon);

  SessionOptions session{ChooseStartAddress(), m_options.carriers, m_options.liveness,
                         m_options.receivePeriod};
  m_session = std::make_unique<ChatSession>(*this, std::move(session));
  m_session->State().m_bEcho = m_settings.bEcho;

  SetLoggedOutLayout();
  m_editHandle->setFocus();
  SetDefaultButton(id::kLogin);

  m_nListWidth = m_wndMessageList->ClientWidth();
  m_presenter->SetListWidth(m_nListWidth);
  m_wndMessageList->SetHorizontalExtent(m_nListWidth);
  // Shown even when the carriers fail below: the options are in force all the same.
  ShowOptionStates();

  if (!m_session->OpenCarriers(ChatSession::Receiving::Later)) {
    AfxMessageBox(Cp932<text::kSlotCreateFailed>(), MB_OK);
    return;
  }
  m_session->OutDomain().LoadRegistered(m_settings);
  if (m_settings.bAutoLogin == 1) {
    m_editHandle->setText(ToQString(FieldText(m_settings.szDefaultName)));
    Login();
  }
  const FileResult logConfigured = ConfigureLog(m_settings);
  // Only now: the own announcement, read back at once, must find the log in force.
  m_session->StartReceiving();
  ShowFileError(logConfigured);
  if (m_crText == m_crBack) AfxMessageBox(Cp932<text::kSameColours>(), MB_ICONINFORMATION | MB_TOPMOST);
}

void CChatDlg::ShowFileError(const FileResult& result) {
  if (result) AfxMessageBox(FileErrorText(*result), MB_ICONSTOP);
}

void CChatDlg::SetLoggedOutLayout() {
  m_editHandle->show();
  m_btnLogin->show();
  m_btnLogout->hide();
  EnableChatControls(false);
  m_session->Members().Clear();
  UpdateTrayTip();
}

void CChatDlg::SetLoggedInLayout() {
  m_editHandle->hide();
  m_btnLogin->hide();
  m_btnLogout->show();
  EnableChatControls(true);
}

void CChatDlg::EnableChatControls(bool enabled) {
  const std::initializer_list<QWidget*> controls = {m_wndMessageList, m_editMessage, m_wndMemberList,
                                                    m_wndInputLabel};
  for (QWidget* control : controls) control->setEnabled(enabled);
}

void CChatDlg::SetDefaultButton(int id) {
  m_nDefaultButton = id;
  m_btnLogin->setDefault(id == id::kLogin);
  m_btnSend->setDefault(id == id::kSend);
}

bool CChatDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      // Escape hides the window; it never closes it.
      MinimiseIntoTray();
      return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // A focused button takes Enter itself; elsewhere it goes to the default button.
      if (auto* button = qobject_cast<QPushButton*>(watched)) button->click();
      else Action(m_nDefaultButton)->trigger();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool CChatDlg::TrayAvailable() const {
  return m_options.trayAvailable.value_or(TrayIcon::Available());
}

void CChatDlg::MinimiseIntoTray() {
  m_bIconic = true;
  if (!TrayAvailable()) {
    // Without a notification area a hidden window could not be brought back.
    showMinimized();
    return;
  }
  hide();
}

void CChatDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // An active window is in front of the user, however it came back.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_bIconic = false;
  if (event->type() != QEvent::WindowStateChange) return;
  if (isMinimized()) {
    m_bIconic = true;
    if (TrayAvailable()) QTimer::singleShot(0, this, [this] { hide(); });
  } else if (!OnWayland()) {
    // Wayland never tells a window that it was minimised or restored, and Qt takes a minimised
    // one back to normal at once: there the window stays iconic until it is active again.
    m_bIconic = false;
  }
}

void CChatDlg::RestoreFromTray() {
  m_blinkTimer.stop();
  UpdateTrayTip();
  RestoreWindow();
  (m_session->State().m_bLoggedIn.load() == 1 ? m_editMessage : m_editHandle)->setFocus();
}

void CChatDlg::RestoreWindow() {
  if (OnWayland()) {
    // A Wayland window can neither leave the minimised state nor come forward by itself: mapped
    // anew it comes back, and it asks for the focus, which the compositor may withhold, and for
    // attention.
    if (m_bIconic) hide();
    show();
    activateWindow();
    QApplication::alert(this);
  } else {
    show();
    showNormal();
    raise();
    activateWindow();
  }
  m_bIconic = false;
  update();
}

void CChatDlg::OnBlinkTimer() {
  // The phase is kept between blinking periods, so a later one may start with either icon.
  m_tray->UpdateTrayTip(m_bBlinkPhase != 0 ? m_hIcon : m_hAlertIcon, m_nMemberCount);
  m_bBlinkPhase = ~m_bBlinkPhase;
}

void CChatDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_session->State().m_bLoggedIn.load() == 1) {
    SetDefaultButton(id::kSend);
    m_editMessage->setFocus();
  } else {
    SetDefaultButton(id::kLogin);
    m_editHandle->setFocus();
  }
}

void CChatDlg::UpdateTrayTip() { m_tray->UpdateTrayTip(m_hIcon, m_nMemberCount); }

void CChatDlg::RunModal() {
  QEventLoop run;
  connect(this, &QDialog::finished, &run, &QEventLoop::quit);
  show();
  run.exec();
}

void CChatDlg::done(int result) {
  QDialog::done(result);
  OnDestroy();
}

void CChatDlg::OnDestroy() {
  SendBye();
  m_session->CloseCarriers();
  m_tray->RemoveTrayIcon();
}

CChatDlg::~CChatDlg() {
  SendBye();
  m_session->CloseCarriers();
  m_tray->RemoveTrayIcon();
  // The receive loop may be waiting for this thread (a message box, a logout): release it,
  // and let it end before anything it uses goes.
  const UiCallsSuspended suspended;
  m_session->JoinReceiveLoop();
}

}  // namespace korvane
