// What the Windows tests share: the registry read and written around the
// library rather than through it, the suite's keys removed around each test
// (CTest resource lock "tsen_product_keys"; the Wine prefix is the build's
// own), class registrations put back, and helper programs started from
// beside the test program.
#pragma once

#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
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

inline platform::win32::UniqueRegKey openRaw(HKEY root, const std::string& path,
                                             bool create = false) {
  HKEY key = nullptr;
  const LONG result = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr)
                             : RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
  return platform::win32::UniqueRegKey(result == ERROR_SUCCESS ? key : nullptr);
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

// The suite's keys, and the machine-wide ones tsenv may write, are missing
// while a test runs and removed afterwards.
class ProductKeysGuard {
public:
  ProductKeysGuard() { clear(); }
  ~ProductKeysGuard() { clear(); }
  ProductKeysGuard(const ProductKeysGuard&) = delete;
  ProductKeysGuard& operator=(const ProductKeysGuard&) = delete;

private:
  static void clear() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSuiteKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quarzel");
  }
};

// A class registration, such as the HTML Help control's, set while it lives:
// the key's default value, the key removed afterwards.
class ClassesValue {
public:
  ClassesValue(std::string key, DWORD type, std::string_view text) : key_(std::move(key)) {
    writeRaw(HKEY_CLASSES_ROOT, key_, nullptr, type, bytesOf(std::string(text) + '\0'));
  }
  ~ClassesValue() { RegDeleteTreeA(HKEY_CLASSES_ROOT, key_.c_str()); }
  ClassesValue(const ClassesValue&) = delete;
  ClassesValue& operator=(const ClassesValue&) = delete;

private:
  std::string key_;
};

inline constexpr const char* kHelpControl =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

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

// Without handles to give, the process inherits none.
inline platform::win32::UniqueHandle startProcess(std::string commandLine,
                                                  const STARTUPINFOA* handles = nullptr) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (handles) {
    startup = *handles;
  }
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, handles != nullptr, 0, nullptr,
                      nullptr, &startup, &started)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
    return nullptr;
  }
  CloseHandle(started.hThread);
  return platform::win32::UniqueHandle(started.hProcess);
}

// 99 when the process did not end in time, or did not start.
inline DWORD exitCodeOf(const platform::win32::UniqueHandle& process, DWORD milliseconds = 60000) {
  DWORD exitCode = 99;
  if (process && WaitForSingleObject(process.get(), milliseconds) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.get(), &exitCode);
  }
  return exitCode;
}

} // namespace tsen::testing
