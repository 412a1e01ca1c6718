// SPDX-License-Identifier: MIT
#pragma once
// The dialogs' font: 9-point "ＭＳ Ｐゴシック", which is IPAPGothic here (fontconfig knows
// neither name, so both are substituted).

#include <QFont>

#include "platform/DialogUnits.h"

namespace korvane {

// Registers the substitutions; call once after the application object exists.
void InstallDialogFont();

// 9 points at the 96 DPI the templates were drawn for: 12 pixels, whatever the screen says.
QFont DialogFont();

DialogBaseUnits MeasureBaseUnits(const QFont& font);

}  // namespace korvane
