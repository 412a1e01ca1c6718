// SPDX-License-Identifier: MIT
#include "settings/AddressEntry.h"

#include <algorithm>
#include <cctype>

#include "platform/Cp932Prefix.h"

namespace korvane {
namespace {

constexpr int kMaxOctet = 255;
constexpr std::size_t kOctetChars = 3;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Stops growing past the largest octet, so that any length of digits reads as too large.
int OctetValue(std::string_view octet) {
  int value = 0;
  for (const char c : octet) value = std::min(value * 10 + (c - '0'), kMaxOctet + 1);
  return value;
}

bool IsSeparator(char c) { return c == '.' || std::isspace(static_cast<unsigned char>(c)); }

}  // namespace

AddressFault ValidateOctetsPresent(const OctetTexts& octets) {
  const bool missing = std::ranges::any_of(octets, [](const std::string& octet) { return octet.empty(); });
  return missing ? AddressFault::Missing : AddressFault::None;
}

AddressFault ValidateOctetDigits(std::string_view octet) {
  return std::ranges::all_of(octet, IsDigit) ? AddressFault::None : AddressFault::Invalid;
}

AddressCheck FormatAddress(const OctetTexts& octets) {
  std::array<int, 4> values{};
  std::ranges::transform(octets, values.begin(), OctetValue);
  if (values[0] == 0 || std::ranges::any_of(values, [](int value) { return value > kMaxOctet; }))
    return {AddressFault::Invalid, {}};
  std::string address;
  for (const int value : values) {
    if (!address.empty()) address += '.';
    address += std::to_string(value);
  }
  return {AddressFault::None, address};
}

AddressCheck CheckOctets(const OctetTexts& octets) {
  if (const AddressFault fault = ValidateOctetsPresent(octets); fault != AddressFault::None) return {fault, {}};
  for (const std::string& octet : octets)
    if (const AddressFault fault = ValidateOctetDigits(octet); fault != AddressFault::None) return {fault, {}};
  return FormatAddress(octets);
}

OctetTexts SplitAddress(std::string_view address) {
  OctetTexts octets;
  std::size_t next = 0;
  for (std::string& octet : octets) {
    while (next < address.size() && IsSeparator(address[next])) ++next;
    const std::size_t start = next;
    while (next < address.size() && !IsSeparator(address[next])) ++next;
    octet = Cp932Prefix(address.substr(start, next - start), kOctetChars);
  }
  return octets;
}

}  // namespace korvane
