// The test double's registry: the in-memory registry tree the portable layer
// also uses, with the knobs tests turn (a failing close, a refused write) and
// a count of every call.
#include "platform/testing/FakeState.h"

namespace tsen::platform {

using fake::detail::state;

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  ++s.calls.regOpenKey;
  return s.openKeys.openIn(s.registry, root, subKey, key);
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  ++s.calls.regCreateKey;
  const auto base = s.openKeys.locate(root);
  auto location = s.openKeys.locate(root, subKey);
  // Keys are created below an open key only while it still exists.
  if (!location || s.registry.find(base->root, base->path) == nullptr) {
    return false;
  }
  s.registry.create(location->root, location->path);
  key = s.openKeys.open(root, subKey, std::move(*location));
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  ++s.calls.regQueryValue;
  return s.openKeys.queryIn(s.registry, key, valueName, type, data, size);
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  ++s.calls.regSetValue;
  const auto location = s.openKeys.locate(key);
  RegistryKey* found = location ? s.registry.find(location->root, location->path) : nullptr;
  const std::string_view name = valueName != nullptr ? valueName : "";
  if (found == nullptr || (data == nullptr && size > 0) ||
      (s.refusedValueName && asciiEqualNoCase(name, *s.refusedValueName))) {
    return false;
  }
  found->setValue(name, {type, size > 0 ? std::string(static_cast<const char*>(data), size) : ""});
  return true;
}

bool regCloseKey(HKEY key) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  ++s.calls.regCloseKey;
  return !s.closeKeyFails && s.openKeys.close(key);
}

} // namespace tsen::platform

// ---- Control of the test double ----------------------------------------------

namespace tsen::fake {

using detail::state;

namespace {

platform::KeyLocation located(HKEY root, std::string_view keyPath) {
  auto location = state().openKeys.locate(root, std::string(keyPath).c_str());
  return location ? std::move(*location) : platform::KeyLocation{};
}

} // namespace

void createKey(HKEY root, std::string_view keyPath) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  const auto location = located(root, keyPath);
  s.registry.create(location.root, location.path);
}

void removeKey(HKEY root, std::string_view keyPath) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  const auto location = located(root, keyPath);
  s.registry.remove(location.root, location.path);
}

bool keyExists(HKEY root, std::string_view keyPath) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  const auto location = located(root, keyPath);
  return s.registry.find(location.root, location.path) != nullptr;
}

void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  const auto location = located(root, keyPath);
  s.registry.create(location.root, location.path).setValue(name, std::move(value));
}

void setString(HKEY root, std::string_view keyPath, std::string_view name, std::string_view text) {
  setValue(root, keyPath, name, {platform::kRegSz, std::string(text) + '\0'});
}

void setDword(HKEY root, std::string_view keyPath, std::string_view name, std::uint32_t number) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(number >> (8 * i));
  }
  setValue(root, keyPath, name, {platform::kRegDword, std::move(bytes)});
}

std::optional<RegistryValue> value(HKEY root, std::string_view keyPath, std::string_view name) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  const auto location = located(root, keyPath);
  const platform::RegistryKey* key = s.registry.find(location.root, location.path);
  const RegistryValue* found = key != nullptr ? key->value(name) : nullptr;
  return found != nullptr ? std::optional(*found) : std::nullopt;
}

std::optional<std::string> stringValue(HKEY root, std::string_view keyPath, std::string_view name) {
  const auto stored = value(root, keyPath, name);
  return stored ? std::optional(stored->data.substr(0, stored->data.find('\0'))) : std::nullopt;
}

int openHandles() {
  return static_cast<int>(state().openKeys.count());
}

void setCloseKeyFails(bool fails) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  s.closeKeyFails = fails;
}

void refuseWritesOf(std::string_view valueName) {
  auto& s = state();
  const std::lock_guard lock(s.mutex);
  s.refusedValueName = valueName.empty() ? std::nullopt : std::optional<std::string>(valueName);
}

} // namespace tsen::fake
