// The suite's keys in the Windows registry, through the wide Win32 registry
// API: names and text data cross as UTF-16, so no setting depends on the
// ANSI code page. An import that the registry refuses half-way is undone.
#include "tools/tsenv/SuiteRegistry.h"

#include "platform/portable/TextEncoding.h"

#include <windows.h>

#include <cstring>

namespace tsenv {

namespace {

using tsen::platform::portable::fromUtf16LeBytes;
using tsen::platform::portable::toUtf16LeBytes;

std::wstring wide(std::string_view text) {
  const std::string bytes = toUtf16LeBytes(text);
  std::wstring out(bytes.size() / 2, L'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(wchar_t));
  return out;
}

std::string narrow(const wchar_t* text, size_t length) {
  return fromUtf16LeBytes({reinterpret_cast<const char*>(text), length * sizeof(wchar_t)});
}

bool isText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

HKEY rootHandle(RegistryRoot root) {
  switch (root) {
  case RegistryRoot::classesRoot:
    return HKEY_CLASSES_ROOT;
  case RegistryRoot::localMachine:
    return HKEY_LOCAL_MACHINE;
  case RegistryRoot::users:
    return HKEY_USERS;
  case RegistryRoot::currentUser:
    break;
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
    return RegOpenKeyExW(parent, wide(name).c_str(), 0, access, &key_) == ERROR_SUCCESS;
  }
  bool create(HKEY parent, const std::string& name) {
    return RegCreateKeyExW(parent, wide(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
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
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &childCount, &longestChild, nullptr,
                       &valueCount, &longestValueName, &longestData, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring name(longestValueName + 1, L'\0');
  std::string data(longestData, '\0');
  for (DWORD i = 0; i < valueCount; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS) {
      return false;
    }
    const std::string_view bytes(data.data(), dataSize);
    target.setValue(
        narrow(name.data(), nameLength),
        RegistryValue{type, isText(type) ? fromUtf16LeBytes(bytes) : std::string(bytes)});
  }
  std::wstring childName(longestChild + 1, L'\0');
  for (DWORD i = 0; i < childCount; ++i) {
    DWORD length = static_cast<DWORD>(childName.size());
    if (RegEnumKeyExW(key, i, childName.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    const std::string child = narrow(childName.data(), length);
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
  case RegChange::Kind::setValue: {
    const RegistryValue& value = change.value;
    const std::string data = isText(value.type) ? toUtf16LeBytes(value.data) : value.data;
    return key.create(root, path) &&
           RegSetValueExW(key.get(), wide(change.valueName).c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }
  case RegChange::Kind::deleteValue:
    return key.open(root, path, KEY_SET_VALUE) &&
           RegDeleteValueW(key.get(), wide(change.valueName).c_str()) == ERROR_SUCCESS;
  case RegChange::Kind::deleteKey:
    return !path.empty() && RegDeleteTreeW(root, wide(path).c_str()) == ERROR_SUCCESS;
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
    const RegistryTree before = copyKeys(*this, suiteKeys());
    for (const RegChange& change : changes) {
      if (!applyOne(change)) {
        // Puts back what was applied, as far as the registry lets it.
        for (const RegChange& undo : changesBetween(copyKeys(*this, suiteKeys()), before)) {
          applyOne(undo);
        }
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

std::string ansiFileText(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int size = static_cast<int>(bytes.size());
  std::wstring text(static_cast<std::size_t>(size), L'\0'); // one unit a byte at most
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), size)));
  return narrow(text.data(), text.size());
}

} // namespace tsenv
