// Reads any bytes, of any length, as the settings file, and hands the record to the code
// that takes values from it without the settings dialog: the out-of-domain table, the log
// cap and the address fields. Checks that the record is the file's first 7,172 bytes
// (zeros beyond a short file) and that writing it back and reading it again gives it
// unchanged once its phrases are closed.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "chatlog/LogSizeCap.h"
#include "protocol/OutDomainTable.h"
#include "settings/AddressEntry.h"
#include "settings/SettingsFile.h"

namespace {

using namespace korvane;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A file in memory, named through /proc so that the reader opens it by name.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("TOOLBOX", 0)), path_("/proc/self/fd/" + std::to_string(fd_.Get())) {
    Require(fd_.Valid());
  }
  const std::string& Hold(const std::uint8_t* data, std::size_t size) {
    Require(::ftruncate(fd_.Get(), 0) == 0);
    Require(WriteAllAt(fd_.Get(), std::string_view(reinterpret_cast<const char*>(data), size), 0));
    return path_;
  }

 private:
  UniqueFd fd_;
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryFile file;
  static MemoryFile copy;
  SettingsRecord record;
  Require(!ReadSettingsFile(record, file.Hold(data, size)).has_value());
  static const SettingsRecord zeros{};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  const std::size_t read = std::min(size, sizeof record);
  Require(std::memcmp(bytes, data, read) == 0);
  Require(std::memcmp(bytes + read, &zeros, sizeof record - read) == 0);

  std::recursive_mutex mutex;
  OutDomainTable table(mutex);
  table.LoadChosen(record);
  Require(table.Snapshot().m_nOutDomainCount <= kMaxOutDomainAddrs);
  for (int i = 0; i < UsableAddrCount(record); ++i) {
    const OctetTexts octets = SplitAddress(FieldText(record.szAddrIP[i]));
    (void)CheckOctets(octets);
    Require(FieldText(record.szAddrName[i]).size() <= sizeof record.szAddrName[i]);
  }
  Require(LogSizeCapKB(FieldText(record.szLogSizeKB)) != 0);

  const std::string& copyPath = copy.Hold(nullptr, 0);
  Require(!WriteSettingsFile(record, copyPath).has_value());
  SettingsRecord reread;
  Require(!ReadSettingsFile(reread, copyPath).has_value());
  Require(std::memcmp(&reread, &record, sizeof record) == 0);
  return 0;
}
