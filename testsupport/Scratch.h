// Scratch folders for tests, fuzzers and benchmarks; paths spelt the library's way.
#pragma once

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tsen::testsupport {

inline std::string backslashed(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

class ScratchFolder {
public:
  // prefix and a number in the temporary folder, removed with its owner; the
  // first number from random, so that processes at once seldom try the same.
  explicit ScratchFolder(std::string_view prefix = "tsen-") {
    static std::atomic<unsigned> next{std::random_device{}()};
    do {
      path_ =
          std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(next++));
    } while (!std::filesystem::create_directory(path_)); // another's, or left by an earlier one
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(std::string_view relative) const { return (path_ / relative).string(); }
  // The folder, or a path below it, as the library writes it.
  std::string library(std::string_view relative = {}) const {
    return backslashed(relative.empty() ? path_ : path_ / relative);
  }
  // Writes content to relative, making its folders; answers the file's path.
  std::filesystem::path write(std::string_view relative, std::string_view content) const {
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

private:
  std::filesystem::path path_;
};

} // namespace tsen::testsupport
