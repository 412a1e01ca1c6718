// SPDX-License-Identifier: MIT
#pragma once
// Plain file access for the program's two files, the settings file and the chat log: each is
// opened around one operation, read-write, created when missing and never truncated.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/UniqueFd.h"

namespace korvane {

// nameCp932 is converted to the file system's encoding only here. Invalid on failure.
UniqueFd OpenReadWrite(const std::string& nameCp932);

// The same, but emptied on opening: for clearing a file, never for writing one.
UniqueFd OpenTruncated(const std::string& nameCp932);

// Reads from offset 0 until size bytes or the end of the file: the count read, or nothing on
// a read error.
std::optional<std::size_t> ReadFromStart(int fd, char* buffer, std::size_t size);

// Writes every byte at offset, retrying short writes; false when the kernel refused some.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset);

enum class FileAction { Open, Read, Write };

// What could not be done to which file, for the window to tell the user.
struct FileFailure {
  FileAction action;
  std::string fileName;  // code page 932
};
using FileResult = std::optional<FileFailure>;  // empty: done

// "[ERROR] Open File(<name>)" and its kin, the name inserted as it stands.
std::string FileErrorText(const FileFailure& failure);

}  // namespace korvane
