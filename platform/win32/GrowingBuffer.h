// The one way this backend reads a text from a Win32 call that fills a
// caller's buffer: retry with a larger buffer until the whole text fits.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

namespace tsen::platform::win32 {

// Larger texts are refused rather than chased forever.
inline constexpr DWORD kLargestTextBuffer = DWORD{1} << 20;

// Calls fill(buffer, capacity), capacity counting the terminating NUL, with
// a buffer that grows until the text fits. fill answers the text's length
// without the NUL when it fit; a number not below capacity when it did not
// (the size needed, when the call tells it, else capacity itself); 0 on
// failure, which is passed on as nothing.
template <typename Fill>
std::optional<std::string> readGrowing(Fill fill, DWORD capacity = MAX_PATH) {
  std::string text;
  while (capacity <= kLargestTextBuffer) {
    text.assign(capacity, '\0');
    const DWORD answer = fill(text.data(), capacity);
    if (answer == 0) {
      return std::nullopt;
    }
    if (answer < capacity) {
      text.resize(answer);
      return text;
    }
    capacity = std::max(answer + 1, capacity * 2);
  }
  return std::nullopt;
}

} // namespace tsen::platform::win32
