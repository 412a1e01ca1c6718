#pragma once
// A chat log on a real file in a temporary folder, with a fixed clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "chatlog/ChatLog.h"
#include "chatlog/LogStamp.h"
#include "tests/support/TempFolder.h"

namespace korvane::test {

class ChatLogTest : public ::testing::Test {
 protected:
  static constexpr std::time_t kNow = 981645553;

  // Puts logging on name in force as the settings dialog would; without capText, uncapped.
  FileResult Configure(const std::string& name, std::optional<std::string_view> capText) {
    SettingsRecord settings;
    settings.nLogMode = 1;
    std::memcpy(settings.szLogFile, name.data(), std::min(name.size(), sizeof settings.szLogFile));
    settings.bLogSizeLimit = capText.has_value();
    if (capText) std::memcpy(settings.szLogSizeKB, capText->data(), capText->size());
    return log.ConfigureLog(settings);
  }

  // A text that makes a line of exactly lineSize bytes.
  static std::string TextOfLine(char fill, std::size_t lineSize) {
    return std::string(lineSize - kLogStampSize - 2, fill);
  }
  static std::string Line(std::string_view text) {
    return FormatLogStamp(kNow) + std::string(text) + "\r\n";
  }
  std::string File() const { return ReadBytes(logPath); }

  TempFolder folder;
  const std::string logPath = folder.Path("chat.log");
  CChatLog log{[] { return kNow; }};
};

}  // namespace korvane::test
