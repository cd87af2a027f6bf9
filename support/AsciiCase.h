// Case folding of the ASCII letters only: every other byte stays as it is, so
// a folded copy has each character at the same position as its original.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tsen {

constexpr char asciiUpper(char c) noexcept {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string asciiUpperCopy(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), asciiUpper);
  return folded;
}

// Equal when both texts are equal after folding ASCII letters to upper case.
constexpr bool asciiEqualNoCase(std::string_view a, std::string_view b) noexcept {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

} // namespace tsen
