// SPDX-License-Identifier: MIT
#include "chatlog/LogFailureNotice.h"

namespace korvane {

FileResult LogFailureNotice::Filter(const FileResult& result) {
  if (!result) {
    failureTold_ = false;
    return std::nullopt;
  }
  if (failureTold_) return std::nullopt;
  failureTold_ = true;
  return result;
}

}  // namespace korvane
