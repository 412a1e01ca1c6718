// SPDX-License-Identifier: MIT
// The own address: chosen when the window initialises, and followed as the host's network
// changes under it.

#include "platform/MessageBox.h"
#include "platform/NetworkWatch.h"
#include "platform/OwnAddress.h"
#include "resources/Texts.h"
#include "window/CChatDlg.h"

namespace korvane {
namespace {

// A network change is a burst of address and route reports, and a link that drops for a
// moment comes back with its address: the address is looked at once the host is quiet.
constexpr std::chrono::milliseconds kNetworkSettle{1500};

}  // namespace

std::string CChatDlg::ChooseStartAddress() {
  if (!m_options.ownAddress.empty()) return m_options.ownAddress;
  const HostAddresses host = ReadHostAddresses();
  const std::string chosen = ChooseOwnAddress(host, m_options.namedAddress);
  if (!m_options.namedAddress.empty() && chosen != m_options.namedAddress)
    AfxMessageBox(FillFormat(Cp932<text::kAddressNotHeld>(), {m_options.namedAddress, chosen}),
                  MB_ICONEXCLAMATION);
  new NetworkWatch([this] { FollowNetwork(); }, kNetworkSettle, this);  // the window owns it
  return chosen;
}

void CChatDlg::FollowNetwork() {
  const std::string current(TextOf(m_session->State().OwnAddress()));
  const auto next = AddressToFollow(ReadHostAddresses(), m_options.namedAddress, current);
  if (!next) return;
  ShowLine(FillFormat(Cp932<text::kAddressChanged>(), {*next}), LineKind::Notice);
  m_session->ChangeOwnAddress(*next);
}

}  // namespace korvane
