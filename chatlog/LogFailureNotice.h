// SPDX-License-Identifier: MIT
#pragma once
// Which chat log failures the user is told of. A log that cannot be written or opened (a
// full disk, a folder gone) fails on every line; a box for each would bury the user on a
// busy channel. So a failure is told once, and again only after a line was written.

#include "settings/FileAccess.h"

namespace korvane {

class LogFailureNotice {
 public:
  // Takes the result of one attempt to log a line: the failure to show, or none.
  FileResult Filter(const FileResult& result);

 private:
  bool failureTold_ = false;
};

}  // namespace korvane
