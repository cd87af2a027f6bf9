// Owners of this backend's system handles, and the one way it reads a text
// from a call that fills a caller's buffer.
#pragma once

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace tsen::platform::win32 {

template <auto close> struct Closer {
  template <class Handle> void operator()(Handle handle) const noexcept { close(handle); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, Closer<RegCloseKey>>;
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, Closer<FreeLibrary>>;
using UniqueFind = std::unique_ptr<void, Closer<FindClose>>;
using UniqueHandle = std::unique_ptr<void, Closer<CloseHandle>>;

// Find and file handles signal failure with INVALID_HANDLE_VALUE, not null;
// an owner holds only handles that are open.
template <typename Owner> Owner ownValidHandle(HANDLE handle) {
  return Owner(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Larger texts are refused rather than chased forever.
inline constexpr DWORD kLargestTextBuffer = DWORD{1} << 20;

// Grows the buffer until the text fits. fill(buffer, capacity incl. NUL)
// answers the length when it fit, a number not below capacity when not (the
// size needed, if told), 0 on failure.
template <typename Fill>
std::optional<std::string> readGrowing(Fill fill, DWORD capacity = MAX_PATH) {
  std::string text;
  while (capacity <= kLargestTextBuffer) {
    text.assign(capacity, '\0');
    const DWORD answer = fill(text.data(), capacity);
    if (answer < capacity) {
      text.resize(answer);
      return answer == 0 ? std::nullopt : std::optional(std::move(text));
    }
    capacity = std::max(answer + 1, capacity * 2);
  }
  return std::nullopt;
}

} // namespace tsen::platform::win32
