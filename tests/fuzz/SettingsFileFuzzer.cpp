// Reads any bytes, of any length, as the settings file, and hands the record to the code
// that takes values from it without the settings dialog: the out-of-domain table, the log
// cap and the address fields. Checks that the record is the file's first 7,172 bytes
// (zeros beyond a short file) and that writing it back and reading it again gives it
// unchanged once its phrases are closed.

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chatlog/LogSizeCap.h"
#include "protocol/OutDomainTable.h"
#include "settings/AddressEntry.h"
#include "settings/SettingsFile.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A file in memory, named through /proc so that the reader opens it by name.
  static const UniqueFd file(::memfd_create("TOOLBOX", 0));
  static const std::string path = "/proc/self/fd/" + std::to_string(file.Get());
  if (::ftruncate(file.Get(), 0) != 0) std::abort();
  if (!WriteAllAt(file.Get(), {reinterpret_cast<const char*>(data), size}, 0)) std::abort();
  SettingsRecord record;
  if (ReadSettingsFile(record, path)) std::abort();
  std::vector<std::uint8_t> expected(data, data + std::min(size, sizeof record));
  expected.resize(sizeof record);
  if (std::memcmp(&record, expected.data(), sizeof record) != 0) std::abort();

  std::recursive_mutex mutex;
  OutDomainTable table(mutex);
  table.LoadChosen(record);
  if (table.Snapshot().m_nOutDomainCount > kMaxOutDomainAddrs) std::abort();
  for (int i = 0; i < UsableAddrCount(record); ++i) (void)CheckOctets(SplitAddress(FieldText(record.szAddrIP[i])));
  if (LogSizeCapKB(FieldText(record.szLogSizeKB)) == 0) std::abort();

  SettingsRecord reread;
  if (WriteSettingsFile(record, path) || ReadSettingsFile(reread, path)) std::abort();
  if (std::memcmp(&reread, &record, sizeof record) != 0) std::abort();
  return 0;
}
