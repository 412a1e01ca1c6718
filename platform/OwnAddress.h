// SPDX-License-Identifier: MIT
#pragma once
// The host's addresses as they are now, for choosing the own address (AddressChoice.h).

#include "platform/AddressChoice.h"

namespace korvane {

// The interfaces, the default route's source, and the host name's address when no
// interface reaches a LAN (it is asked only then: resolving a name may wait for a server).
HostAddresses ReadHostAddresses();

}  // namespace korvane
