// SPDX-License-Identifier: MIT
#pragma once
// An out-of-domain address as a person registers it: a name and four octet fields. The
// checks say which message refuses an entry; the caller shows it. Texts are code page 932.

#include <array>
#include <string>
#include <string_view>

namespace korvane {

using OctetTexts = std::array<std::string, 4>;

// The five texts of the registration dialog.
struct AddressEntry {
  std::string name;
  OctetTexts octets;

  bool operator==(const AddressEntry&) const = default;
};

// What refuses an entry, one message each; None when it passes.
enum class AddressFault { None, Missing, Invalid, Taken };

struct AddressCheck {
  AddressFault fault = AddressFault::None;
  std::string address;  // dotted decimal, without leading zeros, when the entry passes

  bool operator==(const AddressCheck&) const = default;
};

// Every octet has some text; the name may be empty.
AddressFault ValidateOctetsPresent(const OctetTexts& octets);
// Digits 0 to 9 only.
AddressFault ValidateOctetDigits(std::string_view octet);
// For octets of digits: the first may not be 0, none may exceed 255.
AddressCheck FormatAddress(const OctetTexts& octets);
// The three checks in that order; the first that fails decides.
AddressCheck CheckOctets(const OctetTexts& octets);

// A stored address back into the four fields, split at dots and blanks. A text edited by
// hand may hold anything: each field gets at most 3 characters, missing fields stay empty.
OctetTexts SplitAddress(std::string_view address);

}  // namespace korvane
