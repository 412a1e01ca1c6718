// SPDX-License-Identifier: MIT
#pragma once
// Dialog templates are laid out in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down.

namespace korvane {

struct DialogBaseUnits {
  int x = 7;   // from the width of "A".."Z" "a".."z": (width / 26 + 1) / 2
  int y = 13;  // the font's height
};

// Rounded to the nearest pixel, as the dialog manager does.
constexpr int DialogUnitsToPixels(int units, int base, int divisor) {
  const long product = static_cast<long>(units) * base;
  return static_cast<int>((product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor);
}
constexpr int HorizontalPixels(int units, const DialogBaseUnits& base) {
  return DialogUnitsToPixels(units, base.x, 4);
}
constexpr int VerticalPixels(int units, const DialogBaseUnits& base) {
  return DialogUnitsToPixels(units, base.y, 8);
}

// Average character width from the width of the 52 letters, as the dialog manager takes it.
constexpr int BaseUnitXFromLetters(int widthOf52Letters) { return (widthOf52Letters / 26 + 1) / 2; }

}  // namespace korvane
