// Paths cross the platform boundary with backslashes; the host's system calls
// want slashes. Every conversion on the host goes through these two.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tsen::platform::host {

// A boundary path as the host's system calls take it.
inline std::string withSlashes(std::string_view path) {
  std::string converted(path);
  std::ranges::replace(converted, '\\', '/');
  return converted;
}

// A host path as the boundary hands it out.
inline std::string withBackslashes(std::string_view path) {
  std::string converted(path);
  std::ranges::replace(converted, '/', '\\');
  return converted;
}

} // namespace tsen::platform::host
