// Owners of the system handles this backend opens: each is closed exactly
// once, by the call that belongs to its kind.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

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

} // namespace tsen::platform::win32
