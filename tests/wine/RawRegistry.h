// Direct registry access for tests, around the library rather than through it.
#pragma once

#include "platform/win32/Handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

using Bytes = std::vector<unsigned char>;

inline Bytes bytesOf(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

inline Bytes dwordBytes(DWORD value) {
  return bytesOf(std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
}

struct RawValue {
  DWORD type = REG_NONE;
  Bytes bytes;
};

inline platform::win32::UniqueRegKey openRaw(HKEY root, const std::string& path,
                                             bool create = false) {
  HKEY key = nullptr;
  const LONG result = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr)
                             : RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
  return platform::win32::UniqueRegKey(result == ERROR_SUCCESS ? key : nullptr);
}

inline bool keyExists(HKEY root, const std::string& path) {
  return openRaw(root, path) != nullptr;
}

// The bytes as given: no NUL is added.
inline bool writeRaw(HKEY root, const std::string& path, const char* valueName, DWORD type,
                     const Bytes& bytes) {
  const auto key = openRaw(root, path, true);
  return key && RegSetValueExA(key.get(), valueName, 0, type, bytes.data(),
                               static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

inline bool writeText(HKEY root, const std::string& path, const char* valueName,
                      std::string_view text) {
  return writeRaw(root, path, valueName, REG_SZ, bytesOf(std::string(text) + '\0'));
}

inline std::optional<RawValue> readRaw(HKEY root, const std::string& path, const char* valueName) {
  const auto key = openRaw(root, path);
  DWORD size = 0;
  RawValue value;
  if (!key ||
      RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  if (RegQueryValueExA(key.get(), valueName, nullptr, &value.type, value.bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

inline void deleteTree(HKEY root, const std::string& path) {
  RegDeleteTreeA(root, path.c_str());
}

} // namespace tsen::testing
