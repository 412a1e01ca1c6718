// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/UniqueFd.h"

namespace korvane {

// One copy per host (per network namespace): an abstract Unix-domain socket of the given
// name. Binding fails while another process holds the name, and the kernel releases it
// when the holder ends, however it ends.
class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(const std::string& name = "Korvane");

  // True when another process already holds the name.
  bool AlreadyRunning() const { return alreadyRunning_; }

 private:
  UniqueFd socket_;
  bool alreadyRunning_ = false;
};

}  // namespace korvane
