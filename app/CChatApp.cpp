// SPDX-License-Identifier: MIT
#include "app/CChatApp.h"

#include <sys/socket.h>

#include <memory>

#include "app/CAboutDlg.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/TerminationSignals.h"
#include "platform/UniqueFd.h"
#include "resources/Texts.h"
#include "window/CChatDlg.h"

namespace korvane {
namespace {

// The socket layer is usable when a datagram socket can be made.
bool SocketLayerReady() {
  return UniqueFd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)).Valid();
}

}  // namespace

void CChatApp::InitInstance() {
  if (!SocketLayerReady()) {
    AfxMessageBox(Cp932<text::kSocketInitFailed>(), MB_OK);
    return;
  }
  const SingleInstanceGuard guard(instanceName_);
  if (guard.AlreadyRunning()) {
    AfxMessageBox(Cp932<text::kAlreadyRunning>(), MB_ICONEXCLAMATION);
    return;
  }
  ChatDlgOptions options = options_;
  options.showAbout = [](QWidget& owner) {
    CAboutDlg about(&owner);  // a fresh box for every opening
    about.exec();
  };
  auto window = std::make_unique<CChatDlg>(options);
  {
    const TerminationSignalHandler closeOnSignal([dialog = window.get()] { dialog->reject(); });
    window->RunModal();
  }
  window->SendBye();
  window.reset();
}

}  // namespace korvane
