#pragma once

#include <array>
#include <cstdint>

#include "protocol/FixedText.h"

namespace korvane {

// Capacity of every table built from the members or the registered addresses.
constexpr int kTableCapacity = 100;

// Up to 100 addresses with their count; only the first count slots are used.
struct AddressList {
  std::int32_t count = 0;
  std::array<AddressText, kTableCapacity> addrs{};
};

}  // namespace korvane
