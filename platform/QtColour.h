// SPDX-License-Identifier: MIT
#pragma once
// Colours crossing the Qt boundary: the settings' 0x00BBGGRR <-> QColor.

#include <QColor>
#include <cstdint>

namespace korvane {

inline QColor FromColorRef(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

inline std::uint32_t ToColorRef(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
         static_cast<std::uint32_t>(rgb.blue()) << 16;
}

}  // namespace korvane
