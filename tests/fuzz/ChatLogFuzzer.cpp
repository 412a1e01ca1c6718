// Runs the chat log under random caps, line lengths (beyond the longest kept, zero bytes
// inside), clearings, and files shortened or grown behind its back, and compares the file
// after every step with what the ring's rules make of it: uncapped lines append; under a
// cap a line goes to the write position while that is below the cap, else to offset 0; a
// position beyond the file's end falls back to the end; nothing is ever truncated.
//
// Input: operation bytes. Low three bits: 0 configure (a byte follows: cap 0..3 K bytes,
// 4 no cap), 1 write a line (two size bytes and a fill byte follow), 2 clear, 3 shorten the
// file to a size, 4 append bytes to it.

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "chatlog/ChatLog.h"
#include "chatlog/LogStamp.h"
#include "platform/Cp932Prefix.h"

namespace {

using namespace korvane;

constexpr std::time_t kNow = 981645553;

void Require(bool condition) {
  if (!condition) std::abort();
}

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return next_ >= size_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[next_++]; }
  std::size_t Size(std::size_t modulo) { return (std::size_t{Byte()} << 8 | Byte()) % modulo; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

// The ring's rules on a string.
class ExpectedLog {
 public:
  // A cap option, even one whose text means no cap, measures the file.
  void Configure(bool capOption, std::int32_t capKB) {
    capKB_ = capKB;
    if (capOption) position_ = static_cast<std::int64_t>(file.size());
  }
  void Write(std::string_view text) {
    const auto length = static_cast<std::int64_t>(file.size());
    if (position_ > length) position_ = length;
    const std::int64_t limit = std::int64_t{capKB_} * 1024;
    const std::int64_t start = capKB_ == kNoLogSizeCap ? length : (position_ < limit ? position_ : 0);
    const std::string line = FormatLogStamp(kNow) +
                             std::string(Cp932Prefix(text.substr(0, text.find('\0')), kMaxLogTextBytes)) + "\r\n";
    const auto at = static_cast<std::size_t>(start);
    if (file.size() < at + line.size()) file.resize(at + line.size());
    file.replace(at, line.size(), line);
    position_ = start + static_cast<std::int64_t>(line.size());
  }
  void Clear() {
    file.clear();
    position_ = 0;
  }
  std::string file;

 private:
  std::int32_t capKB_ = kNoLogSizeCap;
  std::int64_t position_ = 0;
};

std::string Contents(int fd) {
  struct stat status {};
  Require(::fstat(fd, &status) == 0);
  std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
  Require(::pread(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UniqueFd file(::memfd_create("chat.log", 0));
  Require(file.Valid());
  const std::string path = "/proc/self/fd/" + std::to_string(file.Get());
  CChatLog log([] { return kNow; });
  ExpectedLog expected;

  Input input(data, size);
  while (!input.Empty()) {
    switch (input.Byte() & 7) {
      case 0: {
        const int cap = input.Byte() % 5;
        SettingsRecord settings;
        settings.nLogMode = 1;
        SetFieldText(settings.szLogFile, path);
        settings.bLogSizeLimit = cap < 4;
        SetFieldText(settings.szLogSizeKB, std::to_string(cap));
        Require(!log.ConfigureLog(settings).has_value());
        expected.Configure(cap < 4, cap < 4 ? LogSizeCapKB(std::to_string(cap)) : kNoLogSizeCap);
        break;
      }
      case 1: {
        std::string text(input.Size(5200), '\0');
        const std::uint8_t fill = input.Byte();
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(fill + (fill & 1 ? 0 : i));
        if (!log.LogOn()) break;
        Require(!log.WriteLogLine(text).has_value());
        expected.Write(text);
        break;
      }
      case 2:
        if (log.LogFileName().empty()) break;
        log.ClearLog();
        expected.Clear();
        break;
      case 3: {
        const std::size_t length = input.Size(8192);
        if (length >= expected.file.size()) break;
        Require(::ftruncate(file.Get(), static_cast<off_t>(length)) == 0);
        expected.file.resize(length);
        break;
      }
      case 4: {
        const std::string more(input.Size(2048), '#');
        Require(WriteAllAt(file.Get(), more, static_cast<off_t>(expected.file.size())));
        expected.file += more;
        break;
      }
      default: break;
    }
    Require(Contents(file.Get()) == expected.file);
  }
  return 0;
}
