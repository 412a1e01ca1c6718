// SPDX-License-Identifier: MIT
#pragma once
// The 7,172-byte image of every option, as it lies in the file "TOOLBOX". Copies of the
// program on other platforms read and write the same bytes, so the layout is fixed to the
// byte: no gaps, little-endian 32-bit integers, colours as 0x00BBGGRR.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/Cp932Prefix.h"

namespace korvane {

constexpr int kMaxOutDomainAddrs = 100;

struct SettingsRecord {
  std::int32_t nIconAction = 0;  // 0 pop up, 1 confirmation box, 2 blink the tray icon
  char szPhrase[5][32] = {};     // fixed phrases M1..M5
  std::int32_t bIconizeAtStart = 0;
  std::int32_t bAutoLogin = 0;
  char szDefaultName[32] = {};  // handle for the automatic login
  std::int32_t nLogMode = 0;    // 0 no chat log, 1 chat log
  char szLogFile[300] = {};
  std::int32_t bLogSizeLimit = 0;
  char szLogSizeKB[32] = {};  // the cap as typed, decimal K bytes
  std::uint32_t crText = 0;   // 0x00BBGGRR
  std::uint32_t crBack = 0;
  std::int32_t nOutDomainMode = 0;
  std::int32_t nAddrCount = 0;  // as stored: read it through UsableAddrCount
  char szAddrName[kMaxOutDomainAddrs][50] = {};
  char szAddrIP[kMaxOutDomainAddrs][16] = {};
  std::int32_t bShowSysMsg = 0;
  std::int32_t bAutoWrap = 0;
  std::int32_t bEcho = 0;
};

// The record is moved to and from the file as raw bytes.
static_assert(std::endian::native == std::endian::little);
static_assert(std::is_trivially_copyable_v<SettingsRecord>);
static_assert(std::is_standard_layout_v<SettingsRecord>);
static_assert(offsetof(SettingsRecord, nIconAction) == 0);
static_assert(offsetof(SettingsRecord, szPhrase) == 4);
static_assert(offsetof(SettingsRecord, bIconizeAtStart) == 164);
static_assert(offsetof(SettingsRecord, bAutoLogin) == 168);
static_assert(offsetof(SettingsRecord, szDefaultName) == 172);
static_assert(offsetof(SettingsRecord, nLogMode) == 204);
static_assert(offsetof(SettingsRecord, szLogFile) == 208);
static_assert(offsetof(SettingsRecord, bLogSizeLimit) == 508);
static_assert(offsetof(SettingsRecord, szLogSizeKB) == 512);
static_assert(offsetof(SettingsRecord, crText) == 544);
static_assert(offsetof(SettingsRecord, crBack) == 548);
static_assert(offsetof(SettingsRecord, nOutDomainMode) == 552);
static_assert(offsetof(SettingsRecord, nAddrCount) == 556);
static_assert(offsetof(SettingsRecord, szAddrName) == 560);
static_assert(offsetof(SettingsRecord, szAddrIP) == 5560);
static_assert(offsetof(SettingsRecord, bShowSysMsg) == 7160);
static_assert(offsetof(SettingsRecord, bAutoWrap) == 7164);
static_assert(offsetof(SettingsRecord, bEcho) == 7168);
static_assert(sizeof(SettingsRecord) == 7172);

// The stored count comes from a file nobody checked: below 0 means none, above the table's
// capacity means the whole table.
inline int UsableAddrCount(const SettingsRecord& record) {
  if (record.nAddrCount < 0) return 0;
  return record.nAddrCount > kMaxOutDomainAddrs ? kMaxOutDomainAddrs : record.nAddrCount;
}

// A text field ends at its first zero byte, or at its width when it holds none.
template <std::size_t Width>
std::string FieldText(const char (&field)[Width]) {
  return std::string(field, ::strnlen(field, Width));
}

// Replaces a text field with as much of text as fits before its zero byte, never half of a
// double-byte character; the rest of the field is zeroed.
template <std::size_t Width>
void SetFieldText(char (&field)[Width], std::string_view text) {
  const std::string_view kept = Cp932Prefix(text, Width - 1);
  std::memset(field, 0, Width);
  kept.copy(field, kept.size());
}

}  // namespace korvane
