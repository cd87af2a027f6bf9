// What the user sees: message boxes and addresses opened by the shell.
#include "platform/Platform.h"

#include <windows.h>

#include <shellapi.h>

namespace tsen::platform {

int messageBox(const std::string& text, const std::string& caption, unsigned style) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

std::intptr_t shellOpen(const std::string& address) {
  // The answer is a handle only by its type; it carries a number.
  return reinterpret_cast<std::intptr_t>(
      ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

} // namespace tsen::platform
