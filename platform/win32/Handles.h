// Owners of the system handles this backend opens: each is closed exactly
// once, by the call that belongs to its kind.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tsen::platform::win32 {

struct RegKeyCloser {
  void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

struct ModuleFreer {
  void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct FindCloser {
  void operator()(HANDLE find) const noexcept { FindClose(find); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct HandleCloser {
  void operator()(HANDLE file) const noexcept { CloseHandle(file); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Find and file handles signal failure with INVALID_HANDLE_VALUE, not null;
// an owner holds only handles that are open.
template <typename Owner> Owner ownValidHandle(HANDLE handle) {
  return Owner(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

} // namespace tsen::platform::win32
