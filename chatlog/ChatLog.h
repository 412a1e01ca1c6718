// SPDX-License-Identifier: MIT
#pragma once
// The chat log: every line that ShowLine passes on, behind a time stamp, in a file that may
// be capped in size and is then written as a ring, overwriting its oldest lines in place.
//
// Both the window's thread and the receive thread call in. Each operation runs as one step
// under the object's own lock. Failures are handed back for the caller to show once no lock
// is held, so a box raised for the receive thread cannot hold up the window's thread.
//
// The file stays open between lines, since a large office sends several lines a packet. Before
// each line the name is looked up again: whatever the user did to the file meanwhile (deleted,
// renamed, emptied or replaced it) the line goes to the file that has the name then. Only the
// lines of one received packet, written within microseconds, share one look-up.

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "chatlog/LogSizeCap.h"
#include "platform/UniqueFd.h"
#include "settings/FileAccess.h"
#include "settings/SettingsRecord.h"

namespace korvane {

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
  FileResult WriteLogLine(const std::string& textCp932);

  // Puts the log options of settings in force; under a cap the write position is measured
  // from the file (created when missing), which fails when it cannot be opened.
  FileResult ConfigureLog(const SettingsRecord& settings);

  // Hands the desktop a UTF-8 copy of the log, its lines oldest first, written afresh into
  // folderCp932 (the log's own folder is left alone); what could not be read or written
  // comes back. ClearLog empties the log and reports nothing. Both do nothing before logging
  // was first put in force (no file name yet).
  FileResult ViewLog(const std::string& folderCp932);
  void ClearLog();

  // Until ReleaseName(), lines from the calling thread go to the file the first of them
  // found under the name, without looking it up again: one look-up serves the lines of a
  // packet, which then stay together in one file. Lines from other threads look it up.
  void HoldName();
  void ReleaseName();

  bool LogOn() const { return m_bLogOn.load() == 1; }
  std::string LogFileName() const;
  std::int32_t LogSizeLimitKB() const;
  std::int64_t LogSize() const;

 private:
  // A measure failed: the next write takes the position from the file it opened.
  static constexpr std::int64_t kUnknownPosition = -1;

  FileResult WriteLocked(std::string_view text);
  // The length of the file that has the log's name now, opened (or created) when it is not
  // the one held open; nothing when it cannot be opened.
  std::optional<std::int64_t> FollowNameLocked();
  const std::string& StampLocked();

  std::string NameLocked() const { return m_szLogFileName; }

  const Clock m_clock;
  mutable std::mutex m_mutex;
  std::atomic<std::int32_t> m_bLogOn{0};
  char m_szLogFileName[300] = {};  // CP932, zero-terminated
  std::int32_t m_nLogSizeLimitKB = kNoLogSizeCap;
  std::int64_t m_nLogSize = 0;  // where the next capped line goes

  UniqueFd m_file;  // the log file, while logging is on and it could be opened
  dev_t m_fileDevice = 0;
  ino_t m_fileInode = 0;
  std::string m_nameOnDisk;  // the name in the file system's encoding
  std::optional<std::thread::id> m_nameHolder;
  std::optional<std::int64_t> m_heldLength;  // of m_file, once a line was written in the hold
  std::optional<std::time_t> m_stampTime;  // the second m_stamp was made for
  std::string m_stamp;
  std::string m_line;  // reused, so a line costs no allocation
};

}  // namespace korvane
