#include "settings/SettingsFile.h"

#include <unistd.h>

#include <cerrno>

#include "settings/FileAccess.h"

namespace korvane {
namespace {

// Reads from offset 0 until size bytes or the end of the file; false on a read error.
bool ReadFromStart(int fd, char* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t count = ::pread(fd, buffer + got, size - got, static_cast<off_t>(got));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) break;
    got += static_cast<std::size_t>(count);
  }
  return true;
}

}  // namespace

FileResult ReadSettingsFile(SettingsRecord& record, const std::string& path) {
  const UniqueFd file = OpenReadWrite(path);
  if (!file.Valid()) return FileFailure{FileAction::Open, path};
  SettingsRecord buffer;  // all zero: what the file does not hold reads as zero
  if (!ReadFromStart(file.Get(), reinterpret_cast<char*>(&buffer), sizeof buffer))
    return FileFailure{FileAction::Read, path};
  record = buffer;
  return std::nullopt;
}

FileResult WriteSettingsFile(SettingsRecord& record, const std::string& path) {
  const UniqueFd file = OpenReadWrite(path);
  if (!file.Valid()) return FileFailure{FileAction::Open, path};
  for (auto& phrase : record.szPhrase) phrase[sizeof phrase - 1] = '\0';
  const std::string_view bytes(reinterpret_cast<const char*>(&record), sizeof record);
  if (!WriteAllAt(file.Get(), bytes, 0) || ::fsync(file.Get()) != 0)
    return FileFailure{FileAction::Write, path};
  return std::nullopt;
}

}  // namespace korvane
