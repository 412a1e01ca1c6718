// Any texts in the address dialog's four octet fields, and any stored address split back
// into them. An entry that passes names a dotted-decimal address the system can parse, and
// storing it and splitting it again gives the same address.

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/AddressEntry.h"

namespace {

using namespace korvane;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The four fields are the input's parts between 0x00 bytes, or split as a stored address.
  OctetTexts octets;
  std::size_t start = 0;
  for (std::string& octet : octets) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    octet = text.substr(std::min(start, text.size()), end - std::min(start, text.size()));
    start = end + 1;
  }
  for (const OctetTexts& fields : {octets, SplitAddress(text)}) {
    for (const std::string& field : fields) Require(field.size() <= text.size());
    const AddressCheck check = CheckOctets(fields);
    Require((check.fault == AddressFault::None) == !check.address.empty());
    if (check.fault != AddressFault::None) continue;
    in_addr parsed{};
    Require(::inet_pton(AF_INET, check.address.c_str(), &parsed) == 1);
    Require(parsed.s_addr != 0 && (ntohl(parsed.s_addr) >> 24) != 0);
    Require(CheckOctets(SplitAddress(check.address)) == check);
  }
  return 0;
}
