// What the user sees: message boxes, addresses opened by the shell, and
// compiled help through the HTML Help control, loaded on first use.
#include "platform/Platform.h"

#include "platform/win32/Handles.h"

#include <windows.h>

#include <shellapi.h>

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
  return win32::readGrowing([](char* buffer, DWORD capacity) -> DWORD {
    DWORD size = capacity;
    // A REG_EXPAND_SZ value comes expanded, as REG_SZ.
    const LONG result = RegGetValueA(HKEY_CLASSES_ROOT, kControlServerKey, nullptr, RRF_RT_REG_SZ,
                                     nullptr, buffer, &size);
    return result == ERROR_MORE_DATA ? size
           : result == ERROR_SUCCESS ? static_cast<DWORD>(strnlen(buffer, size))
                                     : 0;
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
  const FARPROC found =
      control ? GetProcAddress(control.get(), MAKEINTRESOURCEA(kHtmlHelpOrdinal)) : nullptr;
  if (!found) {
    return nullptr;
  }
  // Kept loaded until the process ends: help windows go on running its code
  // after the call returns, even should this library be unloaded.
  static_cast<void>(control.release());
  // Passing through void(*)() is how a looked-up entry takes its real type.
  return reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void (*)()>(found));
}

} // namespace

bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data) {
  // Looked up once; a control that failed to load stays failed.
  static const HtmlHelpEntry entry = loadHtmlHelpEntry();
  return entry != nullptr &&
         entry(GetDesktopWindow(), file.c_str(), command, static_cast<DWORD_PTR>(data)) != nullptr;
}

int messageBox(const std::string& text, const std::string& caption, unsigned style) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

std::intptr_t shellOpen(const std::string& address) {
  // The answer is a handle only by its type; it carries a number.
  return reinterpret_cast<std::intptr_t>(
      ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

} // namespace tsen::platform
