// SPDX-License-Identifier: MIT
#pragma once
// Helpers shared by both carriers' receiving ends.

#include <cstdint>
#include <string>

#include "platform/UniqueFd.h"

namespace korvane {

// Largest datagram either carrier takes in; longer ones are dropped whole.
constexpr int kMaxDatagram = 1024;

// A non-blocking UDP socket bound to address:port without address reuse, so a second
// binder of the same port fails. Invalid on failure.
UniqueFd BindDatagramSocket(const std::string& address, std::uint16_t port);

// The port the socket is bound to (useful when it was bound to port 0).
std::uint16_t BoundPort(const UniqueFd& socket);

enum : int { kNothingWaiting = -1, kDroppedOversized = -2 };

// Takes the next waiting datagram: its size when it fits in capacity bytes (which are all
// that is ever written), kDroppedOversized when it was longer and has been discarded, or
// kNothingWaiting.
int ReceiveDatagram(const UniqueFd& socket, std::uint8_t* buffer, int capacity);

}  // namespace korvane
