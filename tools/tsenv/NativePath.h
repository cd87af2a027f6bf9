// The library names files with backslashes on every system; the tool opens
// and lists them itself with the system's own separators.
#pragma once

#include <filesystem>
#include <string>

namespace tsenv {

inline std::filesystem::path nativePath(std::string libraryPath) {
#if !defined(_WIN32)
  for (char& c : libraryPath) {
    c = c == '\\' ? '/' : c;
  }
#endif
  return std::filesystem::path(libraryPath);
}

} // namespace tsenv
