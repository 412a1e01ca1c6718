// SPDX-License-Identifier: MIT
// The message display under a long chat: what one more chat line costs on the window's
// thread when the display already holds about 1,000 or about 100,000 lines, and how much
// memory each line keeps. Runs on the offscreen platform with the window's font and the
// display's real size.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "display/CMessageList.h"
#include "display/LinePresenter.h"
#include "platform/CodePage.h"
#include "platform/DialogFont.h"
#include "platform/DialogUnits.h"
#include "resources/MainDialogTemplate.h"

namespace {

using korvane::LineKind;

// Lines measured around the line count under test: half before it, half after.
constexpr int kMeasuredLines = 1000;

// A typical chat line: handle, marker, a Japanese sentence and a running number, so that no
// two lines are alike (about 40 characters, well inside the display's width).
std::string ChatLine(int number) {
  static const std::string prefix = korvane::Utf8ToCp932("太郎 > 今日の打ち合わせは十五時からです。");
  return prefix + " #" + std::to_string(number);
}

// A line far wider than the display, for auto line-break.
std::string LongChatLine(int number) {
  static const std::string prefix = korvane::Utf8ToCp932(
      "花子 > 明日の会議資料ですが、第三章の数値を先月の実績に差し替えてから共有フォルダに"
      "置いておきますので、確認をお願いします。");
  return prefix + " #" + std::to_string(number);
}

struct Display {
  korvane::CMessageList list;
  korvane::LinePresenter presenter{list};
  korvane::DisplayOptions options{true, false};
  int lines = 0;

  explicit Display(bool autoWrap = false) {
    options.autoWrap = autoWrap;
    // The size the main window gives control 1000.
    const korvane::DialogBaseUnits base = korvane::MeasureBaseUnits(korvane::DialogFont());
    for (const auto& control : korvane::kMainDialog.controls) {
      if (control.id != korvane::id::kMessageList) continue;
      list.resize(korvane::HorizontalPixels(control.width, base),
                  korvane::VerticalPixels(control.height, base));
    }
    list.show();
    presenter.SetListWidth(list.ClientWidth());
    list.SetHorizontalExtent(list.ClientWidth());
    QCoreApplication::processEvents();
  }

  void Add(const std::string& text) {
    presenter.Present(text, LineKind::Chat, options);
    ++lines;
  }

  void FillTo(int count) {
    while (lines < count) Add(ChatLine(lines));
    // Let the display settle (paint) before the timed part.
    QCoreApplication::processEvents();
  }
};

// One chat line as the window's thread shows it from the queue: add, measure, scroll.
// Paints are coalesced, as when lines arrive faster than the screen is refreshed.
void BM_AppendLine(benchmark::State& state) {
  const int around = static_cast<int>(state.range(0));
  Display display;
  display.FillTo(around - kMeasuredLines / 2);
  for (auto _ : state) display.Add(ChatLine(display.lines));
  state.counters["lines_at_end"] = display.lines;
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendLine)->Arg(1000)->Arg(100000)->Iterations(kMeasuredLines)->Repetitions(5)
    ->Unit(benchmark::kMicrosecond);

// The same, with the view painted after every line, as when lines arrive one at a time.
void BM_AppendLineAndPaint(benchmark::State& state) {
  const int around = static_cast<int>(state.range(0));
  Display display;
  display.FillTo(around - kMeasuredLines / 2);
  for (auto _ : state) {
    display.Add(ChatLine(display.lines));
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendLineAndPaint)->Arg(1000)->Arg(100000)->Iterations(kMeasuredLines)
    ->Repetitions(5)->Unit(benchmark::kMicrosecond);

// A line wider than the display with auto line-break on: broken into rows of the width.
void BM_AppendWrappedLine(benchmark::State& state) {
  Display display(true);
  display.FillTo(1000);
  const int before = display.list.LineCount();
  int added = 0;
  for (auto _ : state) {
    display.Add(LongChatLine(added));
    ++added;
  }
  state.counters["rows_per_line"] =
      static_cast<double>(display.list.LineCount() - before) / static_cast<double>(added);
  state.counters["text_bytes"] = static_cast<double>(LongChatLine(0).size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendWrappedLine)->Iterations(kMeasuredLines)->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);

// The parts of one line's cost: the code page conversion at the Qt boundary (done twice
// per unwrapped line, once per character while a line is broken) and the width measure.
void BM_ConvertLine(benchmark::State& state) {
  const std::string line = ChatLine(12345);
  for (auto _ : state) benchmark::DoNotOptimize(korvane::Cp932ToUtf8(line));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConvertLine)->Unit(benchmark::kMicrosecond);

void BM_MeasureLine(benchmark::State& state) {
  Display display;
  const std::string line = ChatLine(12345);
  for (auto _ : state) benchmark::DoNotOptimize(display.list.MeasureText(line));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasureLine)->Unit(benchmark::kMicrosecond);

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// The heap a display of 100,000 lines holds, per line: the lines' own text and the list's
// bookkeeping, measured with the allocator's count of bytes in use.
void BM_MemoryPerLine(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto display = std::make_unique<Display>();
    malloc_trim(0);
    const auto heapBefore = static_cast<double>(mallinfo2().uordblks);
    const auto residentBefore = static_cast<double>(ResidentKiB());
    state.ResumeTiming();
    display->FillTo(count);
    state.PauseTiming();
    const auto heapAfter = static_cast<double>(mallinfo2().uordblks);
    const auto residentAfter = static_cast<double>(ResidentKiB());
    state.counters["heap_bytes_per_line"] = (heapAfter - heapBefore) / count;
    state.counters["rss_bytes_per_line"] = (residentAfter - residentBefore) * 1024.0 / count;
    state.counters["text_bytes_per_line"] = static_cast<double>(ChatLine(count / 2).size());
    display.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_MemoryPerLine)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  korvane::InstallDialogFont();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
