#include "platform/common/Wildcard.h"

#include "support/AsciiCase.h"

namespace tsen::platform::host {

bool matchesWildcard(std::string_view name, std::string_view pattern) {
  // Greedy scan that backtracks to the last '*' only: linear in practice and
  // never recursive, whatever the pattern.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starPattern = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

} // namespace tsen::platform::host
