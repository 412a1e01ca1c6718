#include "settings/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"

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

void ShowFileError(std::string_view action, const std::string& nameCp932) {
  // Built by concatenation: the name may hold '%' and must never act as a format.
  std::string text = "[ERROR] ";
  text.append(action).append(" File(").append(nameCp932).append(")");
  AfxMessageBox(text, MB_ICONSTOP);
}

}  // namespace korvane
