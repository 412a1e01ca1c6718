// SPDX-License-Identifier: MIT
// Runs the chat log under random caps, line lengths (beyond the longest kept, zero bytes
// inside), clearings, and files shortened behind its back, and compares the file
// after every step with what the ring's rules make of it: uncapped lines append; under a
// cap a line goes to the write position while that is below the cap, else to offset 0; a
// position beyond the file's end falls back to the end; nothing is ever truncated.
//
// Input: operations. 0 configures (cap 0..3 K bytes, or no cap option), 1 writes a line,
// 2 clears, 3 shortens the file.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>

#include <cstdlib>
#include <string>

#include "chatlog/ChatLog.h"
#include "chatlog/LogStamp.h"
#include "platform/Cp932Prefix.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::time_t kNow = 981645553;
  const UniqueFd fd(::memfd_create("chat.log", 0));
  SettingsRecord settings;
  settings.nLogMode = 1;
  SetFieldText(settings.szLogFile, "/proc/self/fd/" + std::to_string(fd.Get()));
  CChatLog log([] { return kNow; });
  if (log.ConfigureLog(settings)) std::abort();
  // The ring's rules on a string. A cap option, even one whose text means no cap, measures
  // the file.
  std::string file;
  std::size_t capBytes = 0;  // none
  std::size_t position = 0;

  FuzzedDataProvider input(data, size);
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        const int cap = input.ConsumeIntegralInRange(0, 4);
        settings.bLogSizeLimit = cap < 4;
        SetFieldText(settings.szLogSizeKB, std::to_string(cap));
        if (log.ConfigureLog(settings)) std::abort();
        capBytes = cap < 4 ? static_cast<std::size_t>(cap) * 1024 : 0;
        if (cap < 4) position = file.size();
        break;
      }
      case 1: {
        std::string text(input.ConsumeIntegralInRange(0, 5200), '\0');
        const auto fill = input.ConsumeIntegral<std::uint8_t>();
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(fill + (fill & 1 ? 0 : i));
        if (log.WriteLogLine(text)) std::abort();
        position = std::min(position, file.size());
        const std::size_t start = capBytes == 0 ? file.size() : (position < capBytes ? position : 0);
        const std::string line = FormatLogStamp(kNow) +
                                 std::string(Cp932Prefix(text.substr(0, text.find('\0')), kMaxLogTextBytes)) + "\r\n";
        file.resize(std::max(file.size(), start + line.size()));
        file.replace(start, line.size(), line);
        position = start + line.size();
        break;
      }
      case 2:
        log.ClearLog();
        file.clear();
        position = 0;
        break;
      case 3:
        file.resize(std::min(file.size(), input.ConsumeIntegralInRange<std::size_t>(0, 8192)));
        if (::ftruncate(fd.Get(), static_cast<off_t>(file.size())) != 0) std::abort();
        break;
    }
    std::string seen(file.size() + 1, '\0');
    if (::pread(fd.Get(), seen.data(), seen.size(), 0) != std::ssize(file) || !seen.starts_with(file)) std::abort();
  }
  return 0;
}
