// SPDX-License-Identifier: MIT
#include "chatlog/ChatLog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/Cp932Prefix.h"
#include "chatlog/LogReadBack.h"
#include "chatlog/LogStamp.h"
#include "platform/CodePage.h"
#include "platform/ShellOpen.h"
#include "settings/FileAccess.h"

namespace korvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::int64_t FileLength(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 ? status.st_size : 0;
}

}  // namespace

CChatLog::CChatLog(Clock clock) : m_clock(std::move(clock)) {}

FileResult CChatLog::WriteLogLine(const std::string& textCp932) {
  std::lock_guard lock(m_mutex);
  return WriteLocked(textCp932);
}

std::optional<std::int64_t> CChatLog::FollowNameLocked() {
  struct stat atName {};
  const bool exists = ::stat(m_nameOnDisk.c_str(), &atName) == 0;
  if (m_file.Valid() && exists && atName.st_dev == m_fileDevice && atName.st_ino == m_fileInode)
    return atName.st_size;
  m_file = OpenReadWrite(NameLocked());
  struct stat opened {};
  if (!m_file.Valid() || ::fstat(m_file.Get(), &opened) != 0) {
    m_file.Reset();
    return std::nullopt;
  }
  m_fileDevice = opened.st_dev;
  m_fileInode = opened.st_ino;
  return opened.st_size;
}

const std::string& CChatLog::StampLocked() {
  const std::time_t now = m_clock();
  if (m_stampTime != now) {
    m_stamp = FormatLogStamp(now);
    m_stampTime = now;
  }
  return m_stamp;
}

void CChatLog::HoldName() {
  std::lock_guard lock(m_mutex);
  m_nameHolder = std::this_thread::get_id();
  m_heldLength.reset();
}

void CChatLog::ReleaseName() {
  std::lock_guard lock(m_mutex);
  m_nameHolder.reset();
  m_heldLength.reset();
}

FileResult CChatLog::WriteLocked(std::string_view text) {
  const bool held = m_heldLength && m_file.Valid() && m_nameHolder == std::this_thread::get_id();
  const std::optional<std::int64_t> opened = held ? m_heldLength : FollowNameLocked();
  if (!opened) return FileFailure{FileAction::Open, NameLocked()};
  const std::int64_t length = *opened;
  // After a failed measure, or when someone else shortened the file, the position is taken
  // from the file: writing past its end would leave a hole of zero bytes.
  if (m_nLogSize < 0 || m_nLogSize > length) m_nLogSize = length;
  // 64 bits: a cap of 2 G bytes or more must not wrap to a negative limit.
  const std::int64_t limit = std::int64_t{m_nLogSizeLimitKB} * 1024;
  const std::int64_t start =
      m_nLogSizeLimitKB == kNoLogSizeCap ? length : (m_nLogSize < limit ? m_nLogSize : 0);

  text = Cp932Prefix(text.substr(0, text.find('\0')), kMaxLogTextBytes);
  m_line.assign(StampLocked()).append(text).append(kLineEnd);
  if (!WriteAllAt(m_file.Get(), m_line, start)) {
    // Take back what the broken line added past the old end; the next line starts where
    // this one did, over whatever part of it was written. The write's failure is reported
    // whether or not this succeeds.
    if (FileLength(m_file.Get()) > length) {
      [[maybe_unused]] const int ignored = ::ftruncate(m_file.Get(), length);
    }
    m_nLogSize = start;
    m_heldLength.reset();
    return FileFailure{FileAction::Write, NameLocked()};
  }
  m_nLogSize = start + static_cast<std::int64_t>(m_line.size());
  if (m_nameHolder) m_heldLength = std::max(length, m_nLogSize);
  return std::nullopt;
}

FileResult CChatLog::ConfigureLog(const SettingsRecord& settings) {
  std::lock_guard lock(m_mutex);
  m_heldLength.reset();
  if (settings.nLogMode != 1) {
    m_bLogOn = 0;
    m_file.Reset();  // nothing keeps a file open that is no longer written
    return std::nullopt;
  }
  m_bLogOn = 1;
  // The stored name may lack its zero byte; ours always keeps one.
  const std::string storedName = FieldText(settings.szLogFile);
  const std::string_view name = Cp932Prefix(storedName, sizeof m_szLogFileName - 1);
  std::memset(m_szLogFileName, 0, sizeof m_szLogFileName);
  std::memcpy(m_szLogFileName, name.data(), name.size());
  m_nameOnDisk = Cp932ToUtf8(NameLocked());

  if (settings.bLogSizeLimit != 1) {
    m_nLogSizeLimitKB = kNoLogSizeCap;
    return std::nullopt;
  }
  m_nLogSizeLimitKB = LogSizeCapKB(FieldText(settings.szLogSizeKB));
  // The write position is measured on the file the lines will go to.
  const std::optional<std::int64_t> length = FollowNameLocked();
  m_nLogSize = length.value_or(kUnknownPosition);
  if (!length) return FileFailure{FileAction::Open, NameLocked()};
  return std::nullopt;
}

FileResult CChatLog::ViewLog(const std::string& folderCp932) {
  std::string name, lines;
  {
    std::lock_guard lock(m_mutex);
    name = NameLocked();
    if (name.empty()) return std::nullopt;
    const UniqueFd file = OpenReadWrite(name);
    if (!file.Valid()) return FileFailure{FileAction::Open, name};
    lines.resize(static_cast<std::size_t>(FileLength(file.Get())));
    const auto read = ReadFromStart(file.Get(), lines.data(), lines.size());
    if (!read) return FileFailure{FileAction::Read, name};
    lines.resize(*read);
    lines = LogInTimeOrder(lines, m_nLogSizeLimitKB == kNoLogSizeCap ? -1 : m_nLogSize);
  }
  const std::string copy = folderCp932 + "/" + name.substr(name.rfind('/') + 1) + " (UTF-8).txt";
  const UniqueFd file = OpenTruncated(copy);
  if (!file.Valid()) return FileFailure{FileAction::Open, copy};
  if (!WriteAllAt(file.Get(), Cp932ToUtf8(lines), 0)) return FileFailure{FileAction::Write, copy};
  ShellOpen(copy);
  return std::nullopt;
}

void CChatLog::ClearLog() {
  std::lock_guard lock(m_mutex);
  const std::string name = NameLocked();
  m_heldLength.reset();
  // The position moves only when the file really was emptied.
  if (!name.empty() && OpenTruncated(name).Valid()) m_nLogSize = 0;
}

std::string CChatLog::LogFileName() const {
  std::lock_guard lock(m_mutex);
  return NameLocked();
}

std::int32_t CChatLog::LogSizeLimitKB() const {
  std::lock_guard lock(m_mutex);
  return m_nLogSizeLimitKB;
}

std::int64_t CChatLog::LogSize() const {
  std::lock_guard lock(m_mutex);
  return m_nLogSize;
}

}  // namespace korvane
