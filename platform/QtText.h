// SPDX-License-Identifier: MIT
#pragma once
// Text crossing the Qt boundary: the program's code page 932 bytes <-> Qt's Unicode.

#include <QString>
#include <string>

#include "platform/CodePage.h"

namespace korvane {

inline QString ToQString(const std::string& cp932) {
  return QString::fromStdString(Cp932ToUtf8(cp932));
}

// Characters code page 932 cannot hold become '?'.
inline std::string ToCp932(const QString& text) { return Utf8ToCp932(text.toStdString()); }

}  // namespace korvane
