// What the host benchmarks share: a scratch folder of the run's own, and the
// bare platform calls of a registry read, written out by hand, which the
// library's reads are measured against.
#pragma once

#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace tsen::bench {

// The keys a configuration read goes through, with the flag at 0 (the 18.40
// layout).
inline constexpr const char* kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
inline constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// A fresh folder below the temporary folder, named for the process and
// removed with it.
class ScratchRoot {
public:
  explicit ScratchRoot(const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

inline std::string backslashed(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// Open, query, close: a 32-bit number below HKEY_CURRENT_USER; -1 when it
// cannot be read.
inline std::int32_t bareReadNumber(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (!platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    return -1;
  }
  std::int32_t number = 0;
  std::uint32_t size = sizeof number;
  const bool read = platform::regQueryValue(opened, name, nullptr, &number, size);
  platform::regCloseKey(opened);
  return read ? number : -1;
}

// Open, query the size, query the text, close.
inline std::string bareReadText(const char* key, const char* name) {
  HKEY opened = nullptr;
  std::string text;
  if (platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (platform::regQueryValue(opened, name, &type, nullptr, size)) {
      text.resize(size);
      platform::regQueryValue(opened, name, &type, text.data(), size);
    }
    platform::regCloseKey(opened);
  }
  return text;
}

} // namespace tsen::bench
