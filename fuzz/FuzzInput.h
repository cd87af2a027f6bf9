// What the fuzzers share: a hard check, the application folder of the help
// fuzzers, and writing and splitting their inputs.
#pragma once

#include "platform/testing/FakeSystem.h"
#include "testsupport/Scratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tsen::fuzzing {

inline void check(bool holds) {
  if (!holds) {
    std::abort();
  }
}

// The application folder of the whole run, with the library installed in it
// over the test double; memory-backed when the host has /dev/shm, as every
// input rewrites its files.
inline const testsupport::ScratchFolder& suiteFolder() {
  static const testsupport::ScratchFolder folder("tsen-fuzz-", [] {
    std::error_code error;
    return std::filesystem::is_directory("/dev/shm", error)
               ? std::filesystem::path("/dev/shm")
               : std::filesystem::temp_directory_path();
  }());
  static const bool ready = [] {
    std::filesystem::create_directories(folder.path() / "Help" / "WikiCfg" / "ROAD");
    fake::reset();
    fake::setModuleFileName(folder.library("Binaries/Tessaline.Environment.dll"));
    return true;
  }();
  check(ready);
  return folder;
}

inline void writeFile(const std::filesystem::path& path, std::string_view content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  check(file != nullptr);
  check(std::fwrite(content.data(), 1, content.size(), file) == content.size());
  std::fclose(file);
}

// The text up to the next line feed, taken off input.
inline std::string_view takeLine(std::string_view& input) {
  const auto end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

} // namespace tsen::fuzzing
