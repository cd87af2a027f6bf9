// printf-style formatting into a text of bounded length.
#pragma once

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

namespace tsen {

// Formats into at most capacity - 1 characters, as a buffer of capacity
// characters with its terminating NUL would hold; longer output is cut there.
// A null format gives an empty text.
inline std::string formatLimited(std::size_t capacity, const char* format, va_list arguments) {
  if (format == nullptr || capacity == 0) {
    return {};
  }
  std::string text(capacity, '\0');
  const int written = std::vsnprintf(text.data(), capacity, format, arguments);
  text.resize(written < 0 ? 0 : std::min(static_cast<std::size_t>(written), capacity - 1));
  return text;
}

} // namespace tsen
