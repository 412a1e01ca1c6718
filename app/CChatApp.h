// SPDX-License-Identifier: MIT
#pragma once
// The program: one copy per host, one main window run to its end, then the departure.

#include <string>

#include "window/ChatDlgOptions.h"

namespace korvane {

class CChatApp {
 public:
  explicit CChatApp(ChatDlgOptions options = {}, std::string instanceName = "Korvane")
      : options_(std::move(options)), instanceName_(std::move(instanceName)) {}

  // Runs the main window modally and returns when the program is to end.
  void InitInstance();

 private:
  ChatDlgOptions options_;
  std::string instanceName_;
};

}  // namespace korvane
