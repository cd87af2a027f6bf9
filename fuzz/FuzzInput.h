// What the help fuzzers share: a hard check, where their scratch folder
// goes, and writing and splitting their inputs.
#pragma once

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

// The fuzzer's scratch application folder, memory-backed when the host has
// /dev/shm: every input rewrites its files.
inline std::filesystem::path fastScratchBase() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
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
