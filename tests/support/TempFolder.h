// SPDX-License-Identifier: MIT
#pragma once
// A fresh folder under /tmp for tests on real files, removed with its content afterwards.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvane::test {

class TempFolder {
 public:
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Path(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_ = [] {
    char pattern[] = "/tmp/korvane-test-XXXXXX";
    return std::string(::mkdtemp(pattern));
  }();
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace korvane::test
