// What the help fuzzers share: a hard check, an application folder of the
// process's own, and writing and splitting their inputs.
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

inline std::string backslashed(std::string path) {
  for (char& c : path) {
    c = c == '/' ? '\\' : c;
  }
  return path;
}

// An application folder of this process's own with the given subfolder,
// removed when the process ends.
class ScratchApp {
public:
  ScratchApp(std::string_view name, const std::filesystem::path& subfolder) {
    // Memory-backed when the host has it: every input rewrites the files.
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    const std::filesystem::path base =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    std::string pattern = base / ("tsen-fuzz-" + std::string(name) + "-XXXXXX");
    check(::mkdtemp(pattern.data()) != nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / subfolder);
  }
  ~ScratchApp() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  const std::filesystem::path& root() const { return root_; }
  std::string libraryFile() const {
    return backslashed((root_ / "Binaries" / "Tessaline.Environment.dll").string());
  }

private:
  std::filesystem::path root_;
};

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
