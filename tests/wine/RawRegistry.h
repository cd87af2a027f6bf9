// Direct registry access for tests: plants and inspects values around the
// library, so each check sees exactly what the system holds.
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
  return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

struct RawValue {
  DWORD type = REG_NONE;
  Bytes bytes;
};

inline platform::win32::UniqueRegKey openRaw(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return platform::win32::UniqueRegKey(key);
}

inline platform::win32::UniqueRegKey createRaw(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return platform::win32::UniqueRegKey(key);
}

inline bool keyExists(HKEY root, const std::string& path) {
  return openRaw(root, path) != nullptr;
}

// Creates the key as needed and stores the value's bytes as given: no
// terminating NUL is added.
inline bool writeRaw(HKEY root, const std::string& path, const char* valueName, DWORD type,
                     const Bytes& bytes) {
  const auto key = createRaw(root, path);
  return key && RegSetValueExA(key.get(), valueName, 0, type, bytes.data(),
                               static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

// A text value as the system's own tools store it: REG_SZ with its NUL.
inline bool writeText(HKEY root, const std::string& path, const char* valueName,
                      std::string_view text) {
  return writeRaw(root, path, valueName, REG_SZ, bytesOf(std::string(text) + '\0'));
}

inline std::optional<RawValue> readRaw(HKEY root, const std::string& path, const char* valueName) {
  const auto key = openRaw(root, path);
  DWORD size = 0;
  RawValue value;
  if (!key || RegQueryValueExA(key.get(), valueName, nullptr, &value.type, nullptr, &size) !=
                  ERROR_SUCCESS) {
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
  RegDeleteKeyA(root, path.c_str());
}

} // namespace tsen::testing
