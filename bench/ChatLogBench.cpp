// SPDX-License-Identifier: MIT
// The chat log's cost per line on this machine's disk: every shown line looks the file's name
// up and hands stamp, text and CR LF to the kernel in one write to the file it keeps open.
// The folder is KORVANE_BENCH_DIR, else /var/tmp (a disk, never a memory file system).

#include <benchmark/benchmark.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "chatlog/ChatLog.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "settings/SettingsRecord.h"

namespace {

namespace fs = std::filesystem;

fs::path BenchFolder() {
  const char* chosen = std::getenv("KORVANE_BENCH_DIR");
  std::string pattern = std::string(chosen && *chosen ? chosen : "/var/tmp") + "/korvane-log-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

std::string FileSystemName(const fs::path& folder) {
  struct statfs info {};
  if (::statfs(folder.c_str(), &info) != 0) return "?";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext4";
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x01021994: return "tmpfs";
    case 0x794C7630: return "overlayfs";
    default: {
      char hex[32];
      std::snprintf(hex, sizeof hex, "fs 0x%lx", static_cast<unsigned long>(info.f_type));
      return hex;
    }
  }
}

void WriteLines(benchmark::State& state, const char* capKB) {
  const fs::path folder = BenchFolder();
  if (folder.empty()) {
    state.SkipWithError("cannot make a folder for the log");
    return;
  }
  bool failed = false;
  const auto previous = korvane::SetMessageBoxHandler([&failed](const std::string&, unsigned) {
    failed = true;
    return korvane::IDOK;
  });

  korvane::SettingsRecord settings{};
  settings.nLogMode = 1;
  const std::string name = (folder / "chat.log").string();
  std::strncpy(settings.szLogFile, name.c_str(), sizeof settings.szLogFile - 1);
  if (capKB != nullptr) {
    settings.bLogSizeLimit = 1;
    std::strncpy(settings.szLogSizeKB, capKB, sizeof settings.szLogSizeKB - 1);
  }
  korvane::CChatLog log;
  log.ConfigureLog(settings);

  // A chat line as the display shows it, and the trace lines around a packet.
  const std::string chat = korvane::Utf8ToCp932("太郎 > 今日の打ち合わせは十五時からです。");
  std::size_t bytes = 0;
  for (auto _ : state) {
    log.WriteLogLine(chat);
    bytes += 27 + chat.size() + 2;
  }
  if (failed) state.SkipWithError("a log write failed");
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetLabel(FileSystemName(folder));

  korvane::SetMessageBoxHandler(previous);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

void BM_WriteLogLine(benchmark::State& state) { WriteLines(state, nullptr); }
BENCHMARK(BM_WriteLogLine)->MinTime(1.0)->Repetitions(3)->Unit(benchmark::kMicrosecond);

// Under a size cap the same line goes to the ring's write position.
void BM_WriteLogLineCapped(benchmark::State& state) { WriteLines(state, "1024"); }
BENCHMARK(BM_WriteLogLineCapped)->MinTime(1.0)->Repetitions(3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
