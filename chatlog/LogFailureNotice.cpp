#include "chatlog/LogFailureNotice.h"

namespace korvane {

FileResult LogFailureNotice::Filter(const FileResult& result) {
  if (!result) {
    writeFailureTold_ = false;
    return std::nullopt;
  }
  if (result->action != FileAction::Write) return result;
  if (writeFailureTold_) return std::nullopt;
  writeFailureTold_ = true;
  return result;
}

}  // namespace korvane
