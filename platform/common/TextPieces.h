// Cutting text into pieces: blanks off the ends, fields at separators.
#pragma once

#include <string_view>
#include <vector>

namespace tsen::platform {

inline constexpr std::string_view kBlanks = " \t";

inline std::string_view trimLeft(std::string_view text) {
  const auto start = text.find_first_not_of(kBlanks);
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

inline std::string_view trimRight(std::string_view text) {
  const auto end = text.find_last_not_of(kBlanks);
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

inline std::string_view trim(std::string_view text) {
  return trimRight(trimLeft(text));
}

// The pieces of text between separators: "a::b" gives "a", "", "b"; an
// empty text gives one empty piece.
inline std::vector<std::string_view> splitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (auto end = text.find(separator); end != std::string_view::npos; end = text.find(separator)) {
    pieces.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  pieces.push_back(text);
  return pieces;
}

} // namespace tsen::platform
