// The suite's keys in the Windows registry, through the Win32 registry API:
// the library's accessor opens, reads and writes one key, but lists nothing
// and deletes nothing.
#include "tools/tsenv/SuiteRegistry.h"

#include <windows.h>

#include <utility>

namespace tsenv {

namespace {

HKEY rootHandle(RegistryRoot root) {
  switch (root) {
  case RegistryRoot::classesRoot:
    return HKEY_CLASSES_ROOT;
  case RegistryRoot::currentUser:
    return HKEY_CURRENT_USER;
  case RegistryRoot::localMachine:
    return HKEY_LOCAL_MACHINE;
  case RegistryRoot::users:
    return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

class OpenKey {
public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  bool open(HKEY parent, const std::string& name, REGSAM access) {
    return RegOpenKeyExA(parent, name.c_str(), 0, access, &key_) == ERROR_SUCCESS;
  }
  bool create(HKEY parent, const std::string& name) {
    return RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

// Reads the values of key and the keys below it into target.
bool copyOpenKey(HKEY key, RegistryKey& target) {
  DWORD childCount = 0;
  DWORD longestChild = 0;
  DWORD valueCount = 0;
  DWORD longestValueName = 0;
  DWORD longestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &childCount, &longestChild, nullptr,
                       &valueCount, &longestValueName, &longestData, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::string name(longestValueName + 1, '\0');
  std::string data(longestData, '\0');
  for (DWORD i = 0; i < valueCount; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS) {
      return false;
    }
    target.setValue(std::string(name.data(), nameLength),
                    RegistryValue{type, std::string(data.data(), dataSize)});
  }
  std::string childName(longestChild + 1, '\0');
  for (DWORD i = 0; i < childCount; ++i) {
    DWORD length = static_cast<DWORD>(childName.size());
    if (RegEnumKeyExA(key, i, childName.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    const std::string child(childName.data(), length);
    OpenKey opened;
    if (!opened.open(key, child, KEY_READ) ||
        !copyOpenKey(opened.get(), target.childOrCreate(child))) {
      return false;
    }
  }
  return true;
}

bool applyOne(const RegChange& change) {
  const HKEY root = rootHandle(change.key.root);
  const std::string path = change.key.relativePath();
  OpenKey key;
  switch (change.kind) {
  case RegChange::Kind::createKey:
    return key.create(root, path);
  case RegChange::Kind::setValue:
    return key.create(root, path) &&
           RegSetValueExA(key.get(), change.valueName.c_str(), 0, change.value.type,
                          reinterpret_cast<const BYTE*>(change.value.data.data()),
                          static_cast<DWORD>(change.value.data.size())) == ERROR_SUCCESS;
  case RegChange::Kind::deleteValue:
    return key.open(root, path, KEY_SET_VALUE) &&
           RegDeleteValueA(key.get(), change.valueName.c_str()) == ERROR_SUCCESS;
  case RegChange::Kind::deleteKey:
    return !path.empty() && RegDeleteTreeA(root, path.c_str()) == ERROR_SUCCESS;
  }
  return false;
}

class WindowsRegistry final : public SuiteRegistry {
public:
  bool copyKey(const RegKeyName& key, RegistryTree& tree) override {
    OpenKey opened;
    if (!opened.open(rootHandle(key.root), key.relativePath(), KEY_READ)) {
      return false;
    }
    return copyOpenKey(opened.get(), tree.create(key.root, key.path));
  }

  bool apply(const std::vector<RegChange>& changes) override {
    for (const RegChange& change : changes) {
      if (!applyOne(change)) {
        return false;
      }
    }
    return true;
  }
};

} // namespace

std::unique_ptr<SuiteRegistry> openSuiteRegistry() {
  return std::make_unique<WindowsRegistry>();
}

} // namespace tsenv
