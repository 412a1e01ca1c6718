// SPDX-License-Identifier: MIT
#include "platform/ShellOpen.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "platform/CodePage.h"

namespace korvane {
namespace {

std::mutex g_handlerMutex;
ShellOpenHandler g_handler;

void StartXdgOpen(const std::string& pathCp932) {
  std::string path = Cp932ToUtf8(pathCp932);
  // A name starting with '-' would be taken for an option.
  if (!path.empty() && path.front() == '-') path.insert(0, "./");
  char program[] = "xdg-open";
  char* argv[] = {program, path.data(), nullptr};
  pid_t child;
  if (::posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) return;
  // Reaped on a thread of its own: the desktop program may run for as long as it likes.
  std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
}

}  // namespace

void ShellOpen(const std::string& pathCp932) {
  ShellOpenHandler handler;
  {
    std::lock_guard lock(g_handlerMutex);
    handler = g_handler;
  }
  handler ? handler(pathCp932) : StartXdgOpen(pathCp932);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
  std::lock_guard lock(g_handlerMutex);
  std::swap(g_handler, handler);
  return handler;
}

}  // namespace korvane
