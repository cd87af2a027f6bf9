// The registry through the ANSI calls, each answer passed on as it comes.
#include "platform/Platform.h"

#include <windows.h>

namespace tsen::platform {

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  return RegOpenKeyA(root, subKey, &key) == ERROR_SUCCESS;
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  return RegCreateKeyA(root, subKey, &key) == ERROR_SUCCESS;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  DWORD valueType = 0;
  DWORD byteCount = size;
  const LONG result = RegQueryValueExA(key, valueName, nullptr, type ? &valueType : nullptr,
                                       static_cast<BYTE*>(data), &byteCount);
  // The size is worth passing on both when the data came and when it did
  // not fit; other failures leave it as the caller gave it.
  if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    size = byteCount;
  }
  if (type && result == ERROR_SUCCESS) {
    *type = valueType;
  }
  return result == ERROR_SUCCESS;
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  return RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

bool regCloseKey(HKEY key) {
  return RegCloseKey(key) == ERROR_SUCCESS;
}

} // namespace tsen::platform
