// SPDX-License-Identifier: MIT
#pragma once
// Moves the options record between memory and the settings file, read and written whole.

#include <string>

#include "settings/FileAccess.h"
#include "settings/SettingsRecord.h"

namespace korvane {

inline const std::string kSettingsFileName = "TOOLBOX";  // in the current directory

// Done: record holds the file's first 7,172 bytes, a short or new file reading as zeros.
// Failed: record is untouched.
FileResult ReadSettingsFile(SettingsRecord& record, const std::string& path = kSettingsFileName);

// The settings of a new installation: black text on a white background, everything else off.
SettingsRecord NewInstallationSettings();

// What the program starts from: the file as ReadSettingsFile reads it; where there is no file
// yet, NewInstallationSettings, written as the new file (a failed write is told, the settings
// stay).
FileResult LoadSettings(SettingsRecord& record, const std::string& path = kSettingsFileName);

// Closes every phrase field of record with a zero byte (so the caller's copy changes too),
// then writes the record over the start of the file and syncs it. Bytes past the record in
// a longer file stay.
FileResult WriteSettingsFile(SettingsRecord& record, const std::string& path = kSettingsFileName);

}  // namespace korvane
