// Class registrations, such as the HTML Help control's, put back afterwards.
#pragma once

#include "tests/wine/ProductKeysGuard.h"

#include <memory>

namespace tsen::testing {

// One value below HKEY_CLASSES_ROOT while it lives; null names the default.
class ClassesValue {
public:
  ClassesValue(std::string key, const char* name, DWORD type, std::string_view text)
      : key_(std::move(key)), name_(name ? name : ""),
        keyExisted_(keyExists(HKEY_CLASSES_ROOT, key_)),
        before_(readRaw(HKEY_CLASSES_ROOT, key_, name_.c_str())) {
    writeRaw(HKEY_CLASSES_ROOT, key_, name_.c_str(), type, bytesOf(std::string(text) + '\0'));
  }
  ~ClassesValue() {
    if (!keyExisted_) {
      deleteTree(HKEY_CLASSES_ROOT, key_);
    } else if (before_) {
      writeRaw(HKEY_CLASSES_ROOT, key_, name_.c_str(), before_->type, before_->bytes);
    } else {
      RegDeleteKeyValueA(HKEY_CLASSES_ROOT, key_.c_str(), name_.c_str());
    }
  }

private:
  std::string key_, name_;
  bool keyExisted_;
  std::optional<RawValue> before_;
};

inline std::unique_ptr<ClassesValue> registerControl(std::string_view file, DWORD type = REG_SZ) {
  return std::make_unique<ClassesValue>(
      "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", nullptr, type, file);
}

} // namespace tsen::testing
