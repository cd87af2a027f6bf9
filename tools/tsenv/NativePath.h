// The library names files with backslashes on every system; the tool opens
// them, and shows them to a person, as the host writes them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>

namespace tsenv {

inline std::string shownPath(std::string libraryPath) {
#if !defined(_WIN32)
  std::ranges::replace(libraryPath, '\\', '/');
#endif
  return libraryPath;
}

inline std::filesystem::path nativePath(const std::string& libraryPath) {
  return std::filesystem::path(shownPath(libraryPath));
}

} // namespace tsenv
