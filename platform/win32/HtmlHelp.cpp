// Compiled help through the HTML Help control, loaded on first use.
#include "platform/Platform.h"

#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/Handles.h"

#include <windows.h>

#include <cstring>

namespace tsen::platform {

namespace {

using HtmlHelpEntry = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

constexpr const char* kControlServerKey =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpOrdinal = 14;

// The control's file as its class registration names it, environment
// variables expanded; nothing when it is not registered.
std::optional<std::string> registeredControlFile() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kControlServerKey, 0, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const win32::UniqueRegKey key(opened);
  DWORD type = REG_NONE;
  auto file = win32::readGrowing([&](char* buffer, DWORD capacity) -> DWORD {
    DWORD size = capacity;
    const LONG result = RegQueryValueExA(key.get(), nullptr, nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    if (result == ERROR_MORE_DATA) {
      return size;
    }
    // The stored text need not end in a NUL; it ends at the data's end then.
    return result == ERROR_SUCCESS ? static_cast<DWORD>(strnlen(buffer, size)) : 0;
  });
  if (!file || type != REG_EXPAND_SZ) {
    return file;
  }
  return win32::readGrowing([&](char* buffer, DWORD capacity) -> DWORD {
    // The answer counts the NUL, both when the text fit and when it did not.
    const DWORD needed = ExpandEnvironmentStringsA(file->c_str(), buffer, capacity);
    return needed == 0 ? 0 : needed - (needed <= capacity ? 1 : 0);
  });
}

win32::UniqueModule loadControl() {
  if (const auto file = registeredControlFile()) {
    if (win32::UniqueModule module(LoadLibraryA(file->c_str())); module) {
      return module;
    }
  }
  return win32::UniqueModule(LoadLibraryA("hhctrl.ocx"));
}

HtmlHelpEntry loadHtmlHelpEntry() {
  win32::UniqueModule control = loadControl();
  if (!control) {
    return nullptr;
  }
  const FARPROC found = GetProcAddress(control.get(), MAKEINTRESOURCEA(kHtmlHelpOrdinal));
  if (!found) {
    return nullptr;
  }
  // Kept loaded until the process ends: help windows go on running the
  // control's code after the call returns, even should this library be
  // unloaded.
  static_cast<void>(control.release());
  // Passing through void(*)() is how a looked-up entry takes its real type.
  return reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void (*)()>(found));
}

} // namespace

bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data) {
  // Looked up once; a control that failed to load stays failed.
  static const HtmlHelpEntry entry = loadHtmlHelpEntry();
  if (!entry) {
    return false;
  }
  return entry(GetDesktopWindow(), file.c_str(), command, static_cast<DWORD_PTR>(data)) != nullptr;
}

} // namespace tsen::platform
