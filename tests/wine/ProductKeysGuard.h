// What the Windows tests share: the registry read and written around the
// library rather than through it, the suite's product keys missing while a
// test runs and back afterwards (CTest resource lock "tsen_product_keys"),
// and helper programs started from beside the test program.
#pragma once

#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

inline constexpr const char* kSuiteKey = "SOFTWARE\\Quarzel\\Tessaline";
inline constexpr const char* kKernel1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

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

class ProductKeysGuard {
public:
  ProductKeysGuard() {
    // A backup left by a run that died holds the keys from before it: kept.
    if (!keyExists(HKEY_CURRENT_USER, kBackupKey)) {
      copyTree(kSuiteKey, kBackupKey);
    }
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
  }
  ~ProductKeysGuard() {
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
    if (copyTree(kBackupKey, kSuiteKey)) {
      deleteTree(HKEY_CURRENT_USER, kBackupKey);
    }
  }

private:
  static constexpr const char* kBackupKey = "Software\\TessalineTests\\ProductKeysBackup";

  static bool copyTree(const char* from, const char* to) {
    const auto source = openRaw(HKEY_CURRENT_USER, from);
    const auto target = source ? openRaw(HKEY_CURRENT_USER, to, true) : nullptr;
    return target && RegCopyTreeA(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
  }
};

inline std::string programFolder() {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.erase(self.rfind('\\'));
}

inline std::string besideThisProgram(std::string_view name) {
  return programFolder() + "\\" + std::string(name);
}

inline std::vector<std::string> linesOf(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

inline platform::win32::UniqueHandle startProcess(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
    return nullptr;
  }
  CloseHandle(started.hThread);
  return platform::win32::UniqueHandle(started.hProcess);
}

// 99 when the process did not end in time.
inline DWORD exitCodeOf(const platform::win32::UniqueHandle& process, DWORD milliseconds = 60000) {
  DWORD exitCode = 99;
  if (process && WaitForSingleObject(process.get(), milliseconds) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.get(), &exitCode);
  }
  return exitCode;
}

} // namespace tsen::testing
