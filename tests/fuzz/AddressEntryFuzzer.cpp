// SPDX-License-Identifier: MIT
// Any texts in the address dialog's four octet fields, and any stored address split back
// into them. An entry that passes names a dotted-decimal address the system parses (which
// refuses leading zeros) with a first octet other than 0, and storing it and splitting it
// again gives the same address.

#include <arpa/inet.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "settings/AddressEntry.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  OctetTexts octets;
  for (std::string& octet : octets) octet = input.ConsumeRandomLengthString(8);
  for (const OctetTexts& fields : {octets, SplitAddress(input.ConsumeRemainingBytesAsString())}) {
    const AddressCheck check = CheckOctets(fields);
    if ((check.fault == AddressFault::None) == check.address.empty()) std::abort();
    if (check.fault != AddressFault::None) continue;
    in_addr parsed{};
    if (::inet_pton(AF_INET, check.address.c_str(), &parsed) != 1 || (ntohl(parsed.s_addr) >> 24) == 0) std::abort();
    if (CheckOctets(SplitAddress(check.address)) != check) std::abort();
  }
  return 0;
}
