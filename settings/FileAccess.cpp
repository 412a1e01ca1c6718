// SPDX-License-Identifier: MIT
#include "settings/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/CodePage.h"
#include "resources/Texts.h"

namespace korvane {

namespace {

UniqueFd OpenCreating(const std::string& nameCp932, int flags) {
  const std::string name = Cp932ToUtf8(nameCp932);
  int fd;
  do {
    // Close-on-exec: the desktop programs we start must not inherit our files.
    fd = ::open(name.c_str(), flags | O_CREAT | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return UniqueFd(fd);
}

}  // namespace

UniqueFd OpenReadWrite(const std::string& nameCp932) { return OpenCreating(nameCp932, O_RDWR); }

UniqueFd OpenTruncated(const std::string& nameCp932) {
  return OpenCreating(nameCp932, O_WRONLY | O_TRUNC);
}

std::optional<std::size_t> ReadFromStart(int fd, char* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t count = ::pread(fd, buffer + got, size - got, static_cast<off_t>(got));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    got += static_cast<std::size_t>(count);
  }
  return got;
}

bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return true;
}

std::string FileErrorText(const FileFailure& failure) {
  switch (failure.action) {
    case FileAction::Open: return FillFormat(Cp932<text::kFileOpenError>(), {failure.fileName});
    case FileAction::Read: return FillFormat(Cp932<text::kFileReadError>(), {failure.fileName});
    case FileAction::Write: return FillFormat(Cp932<text::kFileWriteError>(), {failure.fileName});
  }
  return {};
}

}  // namespace korvane
