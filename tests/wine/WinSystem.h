// What the Windows tests share: the registry written around the library, the suite's keys
// removed around each test (CTest resource lock "tsen_product_keys"; the Wine prefix is the
// build's own), and the test program's folder, where its helper programs lie.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>

namespace tsen::testing {

inline constexpr const char* kKernel1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// The bytes as given, no NUL added; the key is made when missing.
inline bool writeRaw(HKEY root, const std::string& path, const char* valueName, DWORD type,
                     std::string_view bytes) {
  return RegSetKeyValueA(root, path.c_str(), valueName, type, bytes.data(),
                         static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

inline bool writeText(HKEY root, const std::string& path, const char* valueName,
                      std::string_view text, DWORD type = REG_SZ) {
  return writeRaw(root, path, valueName, type, std::string(text) + '\0');
}

// The suite's keys are missing while a test runs, and removed afterwards.
struct ProductKeysGuard {
  ProductKeysGuard() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Quarzel\\Tessaline"); }
  ~ProductKeysGuard() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Quarzel\\Tessaline"); }
};

inline std::string programFolder() {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.erase(self.rfind('\\'));
}

} // namespace tsen::testing
