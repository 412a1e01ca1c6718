#pragma once
// Moves the options record between memory and the settings file, read and written whole.

#include <string>

#include "settings/SettingsRecord.h"

namespace korvane {

inline const std::string kSettingsFileName = "TOOLBOX";  // in the current directory

// 0: record holds the file's first 7,172 bytes, a short or new file reading as zeros.
// -1: the user was told why, and record is untouched.
int ReadSettingsFile(SettingsRecord& record, const std::string& path = kSettingsFileName);

// Closes every phrase field of record with a zero byte (so the caller's copy changes too),
// then writes the record over the start of the file and syncs it. Bytes past the record in
// a longer file stay. Failures are shown to the user only.
void WriteSettingsFile(SettingsRecord& record, const std::string& path = kSettingsFileName);

}  // namespace korvane
