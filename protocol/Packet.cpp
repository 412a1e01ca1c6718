// SPDX-License-Identifier: MIT
#include "protocol/Packet.h"

#include <algorithm>
#include <cstring>

namespace korvane {
namespace {

template <std::size_t N>
void Put(std::span<std::uint8_t> packet, int offset, const FixedText<N>& field) {
  std::memcpy(packet.data() + offset, field.data(), N);
}

void Begin(std::span<std::uint8_t> packet, std::string_view kind) {
  std::fill(packet.begin(), packet.end(), std::uint8_t{0});
  std::memcpy(packet.data() + kCodeOffset, kind.data(), kCodeWidth);
}

}  // namespace

int BuildHello(std::span<std::uint8_t> packet, const AddressText& own, const HandleText& handle) {
  Begin(packet, code::kCmdHello);
  Put(packet, kAddressOffset, own);
  Put(packet, kHelloHandleOffset, handle);
  return kHelloPayload;
}

int BuildHelloReply(std::span<std::uint8_t> packet, const AddressText& own,
                    const AddressText& target, const HandleText& handle) {
  Begin(packet, code::kRspHello);
  Put(packet, kAddressOffset, own);
  Put(packet, kTargetOffset, target);
  Put(packet, kHandleOffset, handle);
  return kHandlePayload;
}

int BuildBye(std::span<std::uint8_t> packet, const AddressText& own) {
  Begin(packet, code::kCmdBye);
  Put(packet, kAddressOffset, own);
  return kAddressOnlyPayload;
}

int BuildLogoutRequest(std::span<std::uint8_t> packet, const AddressText& target) {
  Begin(packet, code::kReqOut);
  Put(packet, kAddressOffset, target);
  return kAddressOnlyPayload;
}

int BuildHealthQuery(std::span<std::uint8_t> packet, const AddressText& own) {
  Begin(packet, code::kCmdHlthy);
  Put(packet, kAddressOffset, own);
  return kAddressOnlyPayload;
}

int BuildHealthReply(std::span<std::uint8_t> packet, const AddressText& own,
                     const AddressText& target, const HandleText& handle) {
  Begin(packet, code::kRspHlthy);
  Put(packet, kAddressOffset, own);
  Put(packet, kTargetOffset, target);
  Put(packet, kHandleOffset, handle);
  return kHandlePayload;
}

int BuildChat(std::span<std::uint8_t> packet, std::string_view kind, const AddressText& own,
              const HandleText& handle, std::span<const std::uint8_t> text) {
  Begin(packet, kind);
  Put(packet, kAddressOffset, own);
  Put(packet, kHandleOffset, handle);
  std::copy(text.begin(), text.end(), packet.begin() + kTextOffset);
  return kHandlePayload + static_cast<int>(text.size());
}

void SetTarget(std::span<std::uint8_t> packet, const AddressText& target) {
  Put(packet, kTargetOffset, target);
}

void StampPacket(std::span<std::uint8_t> packet, int payload, std::uint32_t tag) {
  for (int i = 0; i < 4; ++i) packet[kTagOffset + i] = static_cast<std::uint8_t>(tag >> (8 * i));
  packet[payload + 8] = '\r';
  packet[payload + 9] = '\n';
}

std::uint32_t PacketView::Tag() const {
  std::uint32_t tag = 0;
  for (std::size_t i = 0; i < 4 && i < bytes_.size(); ++i) tag |= std::uint32_t{bytes_[i]} << (8 * i);
  return tag;
}

bool PacketView::HasCode(std::string_view kind) const {
  return bytes_.size() >= kCodeOffset + kCodeWidth &&
         std::memcmp(bytes_.data() + kCodeOffset, kind.data(), kCodeWidth) == 0;
}

std::string_view PacketView::Text() const {
  constexpr std::size_t kTextLimit = 5000;
  const std::size_t end = std::min(bytes_.size(), kTextLimit);
  std::size_t stop = kTextOffset;
  while (stop < end && bytes_[stop] != '\r' && bytes_[stop] != 0) ++stop;
  if (stop <= kTextOffset) return {};
  return {reinterpret_cast<const char*>(bytes_.data()) + kTextOffset, stop - kTextOffset};
}

}  // namespace korvane
