// SPDX-License-Identifier: MIT
#include "protocol/SocketFilter.h"

#include <algorithm>

#include "protocol/Packet.h"

namespace korvane {
namespace {

// A UDP socket's filter sees the datagram from its UDP header on.
constexpr std::uint32_t kUdpHeader = 8;

std::uint32_t BigEndian(const char* bytes, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes[i]);
  return value;
}

std::uint16_t LoadOf(std::size_t size) {
  return static_cast<std::uint16_t>(BPF_LD | BPF_ABS | (size == 4 ? BPF_W : size == 2 ? BPF_H : BPF_B));
}

}  // namespace

std::vector<sock_filter> DropOthersHealthReplies(const AddressText& own) {
  // The own text and its terminator decide equality; what follows the terminator does not.
  const std::size_t compared = std::min(TextOf(own).size() + 1, own.size());
  struct Chunk {
    std::size_t offset, size;
  };
  std::vector<Chunk> chunks;
  for (std::size_t at = 0; at < compared;) {
    const std::size_t left = compared - at;
    const std::size_t size = left >= 4 ? 4 : left >= 2 ? 2 : 1;
    chunks.push_back({at, size});
    at += size;
  }

  std::vector<sock_filter> program = {
      BPF_STMT(BPF_LD | BPF_W | BPF_LEN, 0),
      BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, kUdpHeader + kTargetOffset + kAddressWidth, 0, 0),  // else pass
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, kUdpHeader + kCodeOffset),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, BigEndian(code::kRspHlthy.data(), kCodeWidth), 0, 0),  // else pass
  };
  const std::size_t fieldLength = 2 * chunks.size();
  const std::size_t drop = program.size() + 2 * fieldLength;
  const std::size_t pass = drop + 1;
  program[1].jf = static_cast<std::uint8_t>(pass - 2);
  program[3].jf = static_cast<std::uint8_t>(pass - 4);
  for (const std::size_t field : {std::size_t{kAddressOffset}, std::size_t{kTargetOffset}}) {
    // A difference moves on to the next field (from the address to the target, from the
    // target to the drop); a field equal in every chunk passes.
    const std::size_t next = program.size() + fieldLength;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
      const Chunk chunk = chunks[i];
      program.push_back(BPF_STMT(LoadOf(chunk.size), static_cast<std::uint32_t>(kUdpHeader + field + chunk.offset)));
      const std::size_t here = program.size();
      const std::size_t equal = i + 1 == chunks.size() ? pass : here + 1;
      program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, BigEndian(own.data() + chunk.offset, chunk.size),
                                 static_cast<std::uint8_t>(equal - here - 1),
                                 static_cast<std::uint8_t>(next - here - 1)));
    }
  }
  program.push_back(BPF_STMT(BPF_RET | BPF_K, 0));
  program.push_back(BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFF));
  return program;
}

}  // namespace korvane
