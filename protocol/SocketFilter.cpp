// SPDX-License-Identifier: MIT
#include "protocol/SocketFilter.h"

#include <algorithm>

#include "protocol/Packet.h"

namespace korvane {
namespace {

// A UDP socket's filter sees the datagram from its UDP header on.
constexpr std::uint32_t kUdpHeader = 8;

// Jumps count the instructions skipped after the jump's own.
std::uint8_t JumpTo(std::size_t target, std::size_t from) { return static_cast<std::uint8_t>(target - from - 1); }

}  // namespace

std::vector<sock_filter> DropOthersHealthReplies(const AddressText& own) {
  // The own text and its zero byte decide equality; what follows that byte does not.
  const std::size_t compared = std::min(TextOf(own).size() + 1, own.size());
  const std::size_t fieldLength = 2 * compared;  // a load and a comparison a byte
  const std::size_t drop = 4 + 2 * fieldLength, pass = drop + 1;
  std::uint32_t healthReply = 0;  // the code as a 32-bit load reads it, big-endian
  for (const char c : code::kRspHlthy) healthReply = healthReply << 8 | static_cast<std::uint8_t>(c);

  std::vector<sock_filter> program = {
      BPF_STMT(BPF_LD | BPF_W | BPF_LEN, 0),
      BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, kUdpHeader + kTargetOffset + kAddressWidth, 0, JumpTo(pass, 1)),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kUdpHeader + kCodeOffset),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, healthReply, 0, JumpTo(pass, 3)),
  };
  for (const std::size_t field : {std::size_t{kAddressOffset}, std::size_t{kTargetOffset}}) {
    // A difference moves on to the next field (from the address to the target, from the
    // target to the drop); a field equal in every byte passes.
    const std::size_t next = program.size() + fieldLength;
    for (std::size_t i = 0; i < compared; ++i) {
      program.push_back(BPF_STMT(BPF_LD | BPF_B | BPF_ABS, static_cast<std::uint32_t>(kUdpHeader + field + i)));
      const std::size_t here = program.size();
      program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint8_t>(own[i]),
                                 JumpTo(i + 1 == compared ? pass : here + 1, here), JumpTo(next, here)));
    }
  }
  program.push_back(BPF_STMT(BPF_RET | BPF_K, 0));           // drop
  program.push_back(BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFF));  // pass whole
  return program;
}

}  // namespace korvane
