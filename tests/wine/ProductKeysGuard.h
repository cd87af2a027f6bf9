// The suite's product keys start out missing and come back afterwards.
// Users also take the CTest resource lock "tsen_product_keys".
#pragma once

#include "RawRegistry.h"

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

private:
  static constexpr const char* kBackupKey = "Software\\TessalineTests\\ProductKeysBackup";

  static bool copyTree(const char* from, const char* to) {
    const auto source = openRaw(HKEY_CURRENT_USER, from);
    const auto target = source ? openRaw(HKEY_CURRENT_USER, to, true) : nullptr;
    return target && RegCopyTreeA(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
  }
};

inline bool setFlag(DWORD value) {
  return writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_DWORD, dwordBytes(value));
}

} // namespace tsen::testing
