// SPDX-License-Identifier: MIT
#pragma once
// The one wire format: a fixed-layout record of Tag (4 bytes, little-endian), Code (four
// ASCII digits), Address (16), kind-specific fields, closed by CR LF. Builders clear the
// buffer and fill their fields; SendPacket stamps the Tag and CR LF.

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/DatagramSocket.h"
#include "protocol/FixedText.h"

namespace korvane {

namespace code {
constexpr std::string_view kCmdHello = "0010";
constexpr std::string_view kRspHello = "0011";
constexpr std::string_view kCmdBye = "0020";
constexpr std::string_view kSlMsg = "0030";
constexpr std::string_view kBcMsg = "0040";
constexpr std::string_view kReqOut = "0050";
constexpr std::string_view kCmdHlthy = "0060";
constexpr std::string_view kRspHlthy = "0061";
}  // namespace code

constexpr int kTagOffset = 0;
constexpr int kCodeOffset = 4;
constexpr int kAddressOffset = 8;
constexpr int kTargetOffset = 24;
constexpr int kHelloHandleOffset = 24;  // CMD_HELLO has no Target
constexpr int kHandleOffset = 40;
constexpr int kTextOffset = 90;

constexpr int kCodeWidth = 4;
constexpr int kAddressWidth = 16;
constexpr int kHandleWidth = 50;

// Payload = the bytes from offset 8 up to CR; a packet is payload + 10 bytes.
constexpr int kPacketOverhead = 10;
constexpr int kMaxPayload = 5000;
constexpr int kMaxPacket = kMaxPayload + kPacketOverhead;

// Receivers take in at most kMaxDatagram bytes a packet: a longer chat text (932 bytes) would
// be sent and reach nobody.
constexpr std::size_t kMaxChatTextBytes = kMaxDatagram - (kTextOffset + 2);

constexpr int kHelloPayload = 66;        // 76 bytes
constexpr int kHandlePayload = 82;       // RSP_HELLO, RSP_HLTHY: 92 bytes; chat: 92 + text
constexpr int kAddressOnlyPayload = 16;  // CMD_BYE, REQ_OUT, CMD_HLTHY: 26 bytes

// Each builder clears the whole buffer, fills its fields and returns the payload length.
// The buffer must hold the payload + 10 bytes.
int BuildHello(std::span<std::uint8_t> packet, const AddressText& own, const HandleText& handle);
int BuildHelloReply(std::span<std::uint8_t> packet, const AddressText& own,
                    const AddressText& target, const HandleText& handle);
int BuildBye(std::span<std::uint8_t> packet, const AddressText& own);
// REQ_OUT names its addressee, not its sender, in Address.
int BuildLogoutRequest(std::span<std::uint8_t> packet, const AddressText& target);
int BuildHealthQuery(std::span<std::uint8_t> packet, const AddressText& own);
int BuildHealthReply(std::span<std::uint8_t> packet, const AddressText& own,
                     const AddressText& target, const HandleText& handle);
// BC_MSG or SL_MSG with a zero Target; the buffer must hold 92 + text bytes.
int BuildChat(std::span<std::uint8_t> packet, std::string_view kind, const AddressText& own,
              const HandleText& handle, std::span<const std::uint8_t> text);

void SetTarget(std::span<std::uint8_t> packet, const AddressText& target);

// Writes the Tag into bytes 0-3 and CR LF at payload + 8 and payload + 9.
void StampPacket(std::span<std::uint8_t> packet, int payload, std::uint32_t tag);

// A received packet. Fields are read at their fixed offsets; bytes past the end of the
// packet read as zero, so nothing is ever read beyond what arrived.
class PacketView {
 public:
  explicit PacketView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::uint32_t Tag() const;
  bool HasCode(std::string_view kind) const;
  AddressText Address() const { return Field<kAddressWidth>(kAddressOffset); }
  AddressText Target() const { return Field<kAddressWidth>(kTargetOffset); }
  HandleText HelloHandle() const { return Field<kHandleWidth>(kHelloHandleOffset); }
  HandleText Handle() const { return Field<kHandleWidth>(kHandleOffset); }
  // From offset 90 up to the first CR, the first zero byte, byte 5000 or the end.
  std::string_view Text() const;

 private:
  template <std::size_t N>
  FixedText<N> Field(int offset) const {
    FixedText<N> field{};
    for (std::size_t i = 0; i < N && offset + i < bytes_.size(); ++i)
      field[i] = static_cast<char>(bytes_[offset + i]);
    return field;
  }

  std::span<const std::uint8_t> bytes_;
};

}  // namespace korvane
