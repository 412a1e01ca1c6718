#pragma once
// The chat log: every line that ShowLine passes on, behind a time stamp, in a file that may
// be capped in size and is then written as a ring, overwriting its oldest lines in place.
//
// Both the window's thread and the receive thread call in. Each operation runs as one step
// under the object's own lock; the lock is never held while a message box or the desktop is
// busy, so a box raised on the receive thread cannot hold up the window's thread.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "chatlog/LogSizeCap.h"
#include "settings/SettingsRecord.h"

namespace korvane {

// A line that could not be written, for the caller to tell the user about.
struct LogWriteFailure {
  std::string action;  // "Open" or "Write"
  std::string fileName;
};

// The text part of one line is cut to this many bytes; no line the program makes is longer.
constexpr std::size_t kMaxLogTextBytes = 4999;

class CChatLog {
 public:
  using Clock = std::function<std::time_t()>;

  explicit CChatLog(Clock clock = [] { return std::time(nullptr); });

  // Writes stamp, text (CP932, up to a zero byte, unconverted) and CR LF. Without a cap the
  // line is appended; under a cap it goes to the write position while that is below the cap,
  // else to the start of the file. When the file cannot be opened or written the user is
  // told and the line is lost; nothing is added to the file, and under a cap the next line
  // goes where this one would have gone. Every line tries again.
  void WriteLogLine(const std::string& textCp932);
  // The same, but the failure is handed back instead of shown: for a caller that holds a lock
  // of its own and must release it before a message box can wait for the window.
  std::optional<LogWriteFailure> TryWriteLogLine(const std::string& textCp932);

  // The length of the log file (created when missing), or -1 after telling the user.
  std::int64_t MeasureLogFile();

  // Puts the log options of settings in force.
  void ConfigureLog(const SettingsRecord& settings);

  // Opens the file on the desktop; ClearLog empties it. Neither reports anything, and both do
  // nothing before logging was first put in force (no file name yet).
  void ViewLog();
  void ClearLog();

  bool LogOn() const { return m_bLogOn.load() == 1; }
  std::string LogFileName() const;
  std::int32_t LogSizeLimitKB() const;
  std::int64_t LogSize() const;

 private:
  // A measure failed: the next write takes the position from the file it opened.
  static constexpr std::int64_t kUnknownPosition = -1;

  // Each returns the failed action for ShowFileError ("Open", "Write"), empty on success.
  std::string_view WriteLocked(std::string_view text);
  std::string_view MeasureLocked(std::int64_t& length) const;

  std::string NameLocked() const { return m_szLogFileName; }
  // Releases lock, then shows the failure, if any.
  void ShowAfterUnlock(std::unique_lock<std::mutex>& lock, std::string_view failedAction) const;

  const Clock m_clock;
  mutable std::mutex m_mutex;
  std::atomic<std::int32_t> m_bLogOn{0};
  char m_szLogFileName[300] = {};  // CP932, zero-terminated
  std::int32_t m_nLogSizeLimitKB = kNoLogSizeCap;
  std::int64_t m_nLogSize = 0;  // where the next capped line goes
};

}  // namespace korvane
