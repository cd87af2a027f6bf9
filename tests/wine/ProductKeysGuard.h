// Gives a test (or the timing loop) the suite's product keys to itself: they
// start out missing, and what was there before is put back afterwards. Users
// of the keys also take the "tsen_product_keys" resource lock in CTest, so
// tests in parallel processes never share them.
#pragma once

#include "RawRegistry.h"

#include <windows.h>

namespace tsen::testing {

inline constexpr const char* kSuiteKey = "SOFTWARE\\Quarzel\\Tessaline";
inline constexpr const char* kFlagKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
inline constexpr const char* kFlagValue = "QVRConnect";
inline constexpr const char* kRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
inline constexpr const char* kRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";
inline constexpr const char* kKernel1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
inline constexpr const char* kKernel1901 =
    "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel Services";

class ProductKeysGuard {
public:
  ProductKeysGuard() {
    // A backup left by a run that died holds the keys as they were before
    // it; it is kept, not overwritten.
    if (!keyExists(HKEY_CURRENT_USER, kBackupKey) && keyExists(HKEY_CURRENT_USER, kSuiteKey)) {
      copyTree(kSuiteKey, kBackupKey);
    }
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
  }
  ~ProductKeysGuard() {
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
    if (keyExists(HKEY_CURRENT_USER, kBackupKey)) {
      copyTree(kBackupKey, kSuiteKey);
      deleteTree(HKEY_CURRENT_USER, kBackupKey);
    }
  }
  ProductKeysGuard(const ProductKeysGuard&) = delete;
  ProductKeysGuard& operator=(const ProductKeysGuard&) = delete;

private:
  static constexpr const char* kBackupKey = "Software\\TessalineTests\\ProductKeysBackup";

  static void copyTree(const char* from, const char* to) {
    const auto source = openRaw(HKEY_CURRENT_USER, from);
    const auto target = createRaw(HKEY_CURRENT_USER, to);
    if (source && target) {
      RegCopyTreeA(source.get(), nullptr, target.get());
    }
  }
};

// Sets the connection flag as a 32-bit integer.
inline bool setFlag(DWORD value) {
  return writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_DWORD, dwordBytes(value));
}

} // namespace tsen::testing
