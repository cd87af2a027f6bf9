// Gives a test (or a timing loop) the suite's product keys to itself: they
// start out missing, and what was there comes back afterwards. Users also
// take the CTest resource lock "tsen_product_keys".
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
  ProductKeysGuard(const ProductKeysGuard&) = delete;
  ProductKeysGuard& operator=(const ProductKeysGuard&) = delete;

private:
  static constexpr const char* kBackupKey = "Software\\TessalineTests\\ProductKeysBackup";

  // Nothing is made when the source is missing.
  static bool copyTree(const char* from, const char* to) {
    const auto source = openRaw(HKEY_CURRENT_USER, from);
    const auto target = source ? openRaw(HKEY_CURRENT_USER, to, true) : nullptr;
    return target && RegCopyTreeA(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
  }
};

// The connection flag as a 32-bit integer.
inline bool setFlag(DWORD value) {
  return writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_DWORD, dwordBytes(value));
}

} // namespace tsen::testing
