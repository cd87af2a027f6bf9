// The test double's registry: keys and values in memory, names matched
// without regard to ASCII case, as the system does.
#include "platform/testing/FakeState.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace tsen::fake {
namespace {

using detail::FakeKey;
using detail::FakeState;
using detail::state;

bool isPredefined(HKEY key) {
  return key == platform::kClassesRoot || key == platform::kCurrentUser ||
         key == platform::kLocalMachine;
}

// The full path of a root or open handle, or nothing for an unknown handle.
std::optional<std::string> basePath(const FakeState& s, HKEY root) {
  if (isPredefined(root)) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(root));
  }
  auto found = s.handles.find(reinterpret_cast<std::uintptr_t>(root));
  if (found == s.handles.end()) {
    return std::nullopt;
  }
  return found->second;
}

// Joins a sub-key path to base, refusing empty components as the system
// does; one trailing backslash is allowed.
std::optional<std::string> fullPath(const FakeState& s, HKEY root, std::string_view subKey) {
  auto path = basePath(s, root);
  if (!path) {
    return std::nullopt;
  }
  if (!subKey.empty() && subKey.back() == '\\') {
    subKey.remove_suffix(1);
  }
  if (subKey.empty()) {
    return path;
  }
  if (subKey.front() == '\\' || subKey.find("\\\\") != std::string_view::npos) {
    return std::nullopt;
  }
  return *path + "\\" + asciiUpperCopy(subKey);
}

void createWithParents(FakeState& s, const std::string& path) {
  for (std::size_t cut = path.find('\\'); cut != std::string::npos;
       cut = path.find('\\', cut + 1)) {
    s.keys.try_emplace(path.substr(0, cut));
  }
  s.keys.try_emplace(path);
}

HKEY newHandle(FakeState& s, const std::string& path) {
  const std::uintptr_t handle = s.nextHandle++;
  s.handles.emplace(handle, path);
  return reinterpret_cast<HKEY>(handle);
}

FakeKey* keyOf(FakeState& s, HKEY key) {
  auto path = basePath(s, key);
  if (!path) {
    return nullptr;
  }
  auto found = s.keys.find(*path);
  if (found == s.keys.end() && isPredefined(key)) {
    found = s.keys.try_emplace(*path).first;
  }
  return found == s.keys.end() ? nullptr : &found->second;
}

std::string rootedPath(HKEY root, std::string_view keyPath) {
  std::string path = std::to_string(reinterpret_cast<std::uintptr_t>(root));
  if (!keyPath.empty()) {
    path += "\\" + asciiUpperCopy(keyPath);
  }
  return path;
}

} // namespace
} // namespace tsen::fake

// ---- Platform registry functions ----------------------------------------------

namespace tsen::platform {

using fake::detail::state;

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.regOpenKey;
  auto path = fake::fullPath(s, root, subKey ? subKey : "");
  if (!path) {
    return false;
  }
  if (subKey == nullptr || *subKey == '\0') {
    key = root; // the system hands the same handle back
    return true;
  }
  if (s.keys.count(*path) == 0) {
    return false;
  }
  key = fake::newHandle(s, *path);
  return true;
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.regCreateKey;
  auto path = fake::fullPath(s, root, subKey ? subKey : "");
  if (!path) {
    return false;
  }
  if (subKey == nullptr || *subKey == '\0') {
    key = root;
    return true;
  }
  fake::createWithParents(s, *path);
  key = fake::newHandle(s, *path);
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.regQueryValue;
  fake::FakeKey* held = fake::keyOf(s, key);
  if (held == nullptr) {
    return false;
  }
  auto found = held->values.find(asciiUpperCopy(valueName ? valueName : ""));
  if (found == held->values.end()) {
    return false;
  }
  const auto& stored = found->second.second;
  if (type != nullptr) {
    *type = stored.type;
  }
  const auto needed = static_cast<std::uint32_t>(stored.data.size());
  if (data == nullptr) {
    size = needed;
    return true;
  }
  if (size < needed) {
    size = needed;
    return false;
  }
  std::copy(stored.data.begin(), stored.data.end(), static_cast<unsigned char*>(data));
  size = needed;
  return true;
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.regSetValue;
  fake::FakeKey* held = fake::keyOf(s, key);
  if (held == nullptr) {
    return false;
  }
  const std::string name = valueName ? valueName : "";
  if (!s.refusedValueName.empty() && asciiUpperCopy(name) == s.refusedValueName) {
    return false;
  }
  const auto* bytes = static_cast<const unsigned char*>(data);
  fake::RegistryValue stored{type, std::vector<unsigned char>(bytes, bytes + size)};
  auto& slot = held->values[asciiUpperCopy(name)];
  if (slot.first.empty()) {
    slot.first = name;
  }
  slot.second = std::move(stored);
  return true;
}

bool regCloseKey(HKEY key) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.regCloseKey;
  if (s.closeKeyFails) {
    return false;
  }
  if (fake::isPredefined(key)) {
    return true;
  }
  return s.handles.erase(reinterpret_cast<std::uintptr_t>(key)) == 1;
}

} // namespace tsen::platform

// ---- Control of the test double ----------------------------------------------

namespace tsen::fake {

void createKey(HKEY root, std::string_view keyPath) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  createWithParents(s, rootedPath(root, keyPath));
}

void removeKey(HKEY root, std::string_view keyPath) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  const std::string path = rootedPath(root, keyPath);
  std::erase_if(s.keys, [&](const auto& entry) {
    return entry.first == path || entry.first.rfind(path + "\\", 0) == 0;
  });
}

bool keyExists(HKEY root, std::string_view keyPath) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.keys.count(rootedPath(root, keyPath)) == 1;
}

void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  const std::string path = rootedPath(root, keyPath);
  createWithParents(s, path);
  s.keys[path].values[asciiUpperCopy(name)] = {std::string(name), std::move(value)};
}

void setString(HKEY root, std::string_view keyPath, std::string_view name, std::string_view text) {
  RegistryValue value{platform::kRegSz, std::vector<unsigned char>(text.begin(), text.end())};
  value.data.push_back(0);
  setValue(root, keyPath, name, std::move(value));
}

void setDword(HKEY root, std::string_view keyPath, std::string_view name, std::uint32_t number) {
  RegistryValue value{platform::kRegDword, std::vector<unsigned char>(4)};
  std::memcpy(value.data.data(), &number, 4);
  setValue(root, keyPath, name, std::move(value));
}

void removeValue(HKEY root, std::string_view keyPath, std::string_view name) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  auto key = s.keys.find(rootedPath(root, keyPath));
  if (key != s.keys.end()) {
    key->second.values.erase(asciiUpperCopy(name));
  }
}

std::optional<RegistryValue> value(HKEY root, std::string_view keyPath, std::string_view name) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  auto key = s.keys.find(rootedPath(root, keyPath));
  if (key == s.keys.end()) {
    return std::nullopt;
  }
  auto found = key->second.values.find(asciiUpperCopy(name));
  if (found == key->second.values.end()) {
    return std::nullopt;
  }
  return found->second.second;
}

std::optional<std::string> stringValue(HKEY root, std::string_view keyPath, std::string_view name) {
  auto stored = value(root, keyPath, name);
  if (!stored) {
    return std::nullopt;
  }
  const auto end = std::find(stored->data.begin(), stored->data.end(), 0);
  return std::string(stored->data.begin(), end);
}

int openHandles() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return static_cast<int>(s.handles.size());
}

void setCloseKeyFails(bool fails) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.closeKeyFails = fails;
}

void refuseWritesOf(std::string_view valueName) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.refusedValueName = asciiUpperCopy(valueName);
}

} // namespace tsen::fake
