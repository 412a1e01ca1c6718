#include "chatlog/ChatLog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "chatlog/Cp932Prefix.h"
#include "chatlog/LogStamp.h"
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

void CChatLog::WriteLogLine(const std::string& textCp932) {
  if (const auto failure = TryWriteLogLine(textCp932))
    ShowFileError(failure->action, failure->fileName);
}

std::optional<LogWriteFailure> CChatLog::TryWriteLogLine(const std::string& textCp932) {
  std::lock_guard lock(m_mutex);
  const std::string_view failed = WriteLocked(textCp932);
  if (failed.empty()) return std::nullopt;
  return LogWriteFailure{std::string(failed), NameLocked()};
}

std::string_view CChatLog::WriteLocked(std::string_view text) {
  const UniqueFd file = OpenReadWrite(NameLocked());
  if (!file.Valid()) return "Open";
  const std::int64_t length = FileLength(file.Get());
  // After a failed measure, or when someone else shortened the file, the position is taken
  // from the file: writing past its end would leave a hole of zero bytes.
  if (m_nLogSize < 0 || m_nLogSize > length) m_nLogSize = length;
  // 64 bits: a cap of 2 G bytes or more must not wrap to a negative limit.
  const std::int64_t limit = std::int64_t{m_nLogSizeLimitKB} * 1024;
  const std::int64_t start =
      m_nLogSizeLimitKB == kNoLogSizeCap ? length : (m_nLogSize < limit ? m_nLogSize : 0);

  text = Cp932Prefix(text.substr(0, text.find('\0')), kMaxLogTextBytes);
  const std::string stamp = FormatLogStamp(m_clock());
  std::int64_t end = start;
  for (const std::string_view part : {std::string_view(stamp), text, kLineEnd}) {
    if (!WriteAllAt(file.Get(), part, end)) {
      // Take back what the broken line added past the old end; the next line starts where
      // this one did, over whatever part of it was written.
      if (FileLength(file.Get()) > length) (void)::ftruncate(file.Get(), length);
      m_nLogSize = start;
      return "Write";
    }
    end += static_cast<std::int64_t>(part.size());
  }
  m_nLogSize = end;
  return {};
}

std::int64_t CChatLog::MeasureLogFile() {
  std::unique_lock lock(m_mutex);
  std::int64_t length;
  const std::string_view failed = MeasureLocked(length);
  ShowAfterUnlock(lock, failed);
  return length;
}

std::string_view CChatLog::MeasureLocked(std::int64_t& length) const {
  const UniqueFd file = OpenReadWrite(NameLocked());
  length = file.Valid() ? FileLength(file.Get()) : kUnknownPosition;
  return file.Valid() ? std::string_view() : "Open";
}

void CChatLog::ConfigureLog(const SettingsRecord& settings) {
  std::unique_lock lock(m_mutex);
  if (settings.nLogMode != 1) {
    m_bLogOn = 0;
    return;
  }
  m_bLogOn = 1;
  // The stored name may lack its zero byte; ours always keeps one.
  const std::string storedName = FieldText(settings.szLogFile);
  const std::string_view name = Cp932Prefix(storedName, sizeof m_szLogFileName - 1);
  std::memset(m_szLogFileName, 0, sizeof m_szLogFileName);
  std::memcpy(m_szLogFileName, name.data(), name.size());

  std::string_view failed;
  if (settings.bLogSizeLimit == 1) {
    m_nLogSizeLimitKB = LogSizeCapKB(FieldText(settings.szLogSizeKB));
    failed = MeasureLocked(m_nLogSize);
  } else {
    m_nLogSizeLimitKB = kNoLogSizeCap;
  }
  ShowAfterUnlock(lock, failed);
}

void CChatLog::ViewLog() {
  const std::string name = LogFileName();
  if (!name.empty()) ShellOpen(name);
}

void CChatLog::ClearLog() {
  std::lock_guard lock(m_mutex);
  const std::string name = NameLocked();
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

void CChatLog::ShowAfterUnlock(std::unique_lock<std::mutex>& lock,
                               std::string_view failedAction) const {
  const std::string name = NameLocked();
  lock.unlock();
  if (!failedAction.empty()) ShowFileError(failedAction, name);
}

}  // namespace korvane
