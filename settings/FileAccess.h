#pragma once
// Plain file access for the program's two files, the settings file and the chat log: each is
// opened around one operation, read-write, created when missing and never truncated.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/UniqueFd.h"

namespace korvane {

// nameCp932 is converted to the file system's encoding only here. Invalid on failure.
UniqueFd OpenReadWrite(const std::string& nameCp932);

// The same, but emptied on opening: for clearing a file, never for writing one.
UniqueFd OpenTruncated(const std::string& nameCp932);

// Writes every byte at offset, retrying short writes; false when the kernel refused some.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset);

// Shows "[ERROR] <action> File(<name>)" with the stop icon, action being "Open", "Read" or
// "Write".
void ShowFileError(std::string_view action, const std::string& nameCp932);

}  // namespace korvane
