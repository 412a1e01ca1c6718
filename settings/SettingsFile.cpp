// SPDX-License-Identifier: MIT
#include "settings/SettingsFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/CodePage.h"
#include "settings/FileAccess.h"

namespace korvane {

FileResult ReadSettingsFile(SettingsRecord& record, const std::string& path) {
  const UniqueFd file = OpenReadWrite(path);
  if (!file.Valid()) return FileFailure{FileAction::Open, path};
  SettingsRecord buffer;  // all zero: what the file does not hold reads as zero
  if (!ReadFromStart(file.Get(), reinterpret_cast<char*>(&buffer), sizeof buffer))
    return FileFailure{FileAction::Read, path};
  record = buffer;
  return std::nullopt;
}

SettingsRecord NewInstallationSettings() {
  SettingsRecord record{};
  record.crText = 0x000000;
  record.crBack = 0xFFFFFF;
  return record;
}

FileResult LoadSettings(SettingsRecord& record, const std::string& path) {
  struct stat status {};
  if (::stat(Cp932ToUtf8(path).c_str(), &status) != 0 && errno == ENOENT) {
    record = NewInstallationSettings();
    return WriteSettingsFile(record, path);
  }
  return ReadSettingsFile(record, path);
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
