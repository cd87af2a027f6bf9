// The registry: the ANSI calls, each answer passed on as it comes, and the
// calls for whole keys through the wide functions, names and text data
// converted between UTF-8 and UTF-16 here, whatever the ANSI code page.
#include "platform/Platform.h"
#include "platform/common/TextEncoding.h"

#include <windows.h>

#include <cstring>

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
  // Other failures leave the size as the caller gave it.
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

namespace {

std::wstring wide(std::string_view text) {
  const std::string bytes = toUtf16LeBytes(text);
  std::wstring out(bytes.size() / 2, L'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(wchar_t));
  return out;
}

std::string narrow(const wchar_t* text, std::size_t length) {
  return fromUtf16LeBytes({reinterpret_cast<const char*>(text), length * sizeof(wchar_t)});
}

bool isText(std::uint32_t type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

bool regOpenKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return RegOpenKeyExW(root, wide(subKey).c_str(), 0, MAXIMUM_ALLOWED, &key) == ERROR_SUCCESS;
}

bool regCreateKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return RegCreateKeyExW(root, wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS;
}

bool regSetValueUtf8(HKEY key, const std::string& name, std::uint32_t type,
                     const std::string& data) {
  const std::string bytes = isText(type) ? toUtf16LeBytes(data) : data;
  return RegSetValueExW(key, wide(name).c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool regEnumKey(HKEY key, std::uint32_t index, std::string& name) {
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring buffer(longest + 1, L'\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  name = narrow(buffer.data(), length);
  return true;
}

bool regEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                  std::string& data) {
  DWORD longestName = 0;
  DWORD longestData = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring wideName(longestName + 1, L'\0');
  std::string bytes(longestData, '\0');
  DWORD nameLength = static_cast<DWORD>(wideName.size());
  DWORD size = static_cast<DWORD>(bytes.size());
  DWORD valueType = 0;
  if (RegEnumValueW(key, index, wideName.data(), &nameLength, nullptr, &valueType,
                    reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
    return false;
  }
  bytes.resize(size);
  name = narrow(wideName.data(), nameLength);
  type = valueType;
  data = isText(type) ? fromUtf16LeBytes(bytes) : bytes;
  return true;
}

bool regDeleteValue(HKEY key, const std::string& name) {
  return RegDeleteValueW(key, wide(name).c_str()) == ERROR_SUCCESS;
}

bool regDeleteTree(HKEY root, const std::string& subKey) {
  return !subKey.empty() && RegDeleteTreeW(root, wide(subKey).c_str()) == ERROR_SUCCESS;
}

std::string utf8FromAnsi(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  std::wstring converted(text.size(), L'\0'); // one unit a byte at most
  converted.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, text.data(), size, converted.data(), size)));
  return narrow(converted.data(), converted.size());
}

} // namespace tsen::platform
