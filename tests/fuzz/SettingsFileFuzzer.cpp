// SPDX-License-Identifier: MIT
// Reads any bytes, of any length, as the settings file, and hands the record to the code
// that takes values from it without the settings dialog: the out-of-domain table, the log
// cap and the address fields. Checks that the record is the file's first 7,172 bytes
// (zeros beyond a short file) and that writing it back and reading it again gives it
// unchanged once its phrases are closed.

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "chatlog/LogSizeCap.h"
#include "protocol/OutDomainTable.h"
#include "settings/AddressEntry.h"
#include "settings/SettingsFile.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A file in memory, named through /proc so that the reader opens it by name.
  static const UniqueFd file(::memfd_create("TOOLBOX", 0));
  static const std::string path = "/proc/self/fd/" + std::to_string(file.Get());
  // The fuzzer seldom makes inputs as long as the record: an odd first byte repeats the
  // input until the file is longer.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  while (size > 0 && data[0] % 2 == 1 && bytes.size() <= sizeof(SettingsRecord)) bytes += bytes;
  if (::ftruncate(file.Get(), 0) != 0) std::abort();
  if (!WriteAllAt(file.Get(), bytes, 0)) std::abort();
  SettingsRecord record;
  if (ReadSettingsFile(record, path)) std::abort();
  bytes.resize(sizeof record);
  if (std::memcmp(&record, bytes.data(), sizeof record) != 0) std::abort();

  std::recursive_mutex mutex;
  OutDomainTable table(mutex);
  table.LoadChosen(record);
  if (table.Snapshot().m_nOutDomainCount > kMaxOutDomainAddrs) std::abort();
  for (int i = 0; i < UsableAddrCount(record); ++i) (void)CheckOctets(SplitAddress(FieldText(record.szAddrIP[i])));
  if (LogSizeCapKB(FieldText(record.szLogSizeKB)) == 0) std::abort();

  // Written back into an empty file, so that nothing of the input can stand in for it.
  SettingsRecord reread;
  if (::ftruncate(file.Get(), 0) != 0) std::abort();
  if (WriteSettingsFile(record, path) || ReadSettingsFile(reread, path)) std::abort();
  if (std::memcmp(&reread, &record, sizeof record) != 0) std::abort();
  return 0;
}
