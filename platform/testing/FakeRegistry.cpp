// The test double's registry: the in-memory registry tree the portable layer
// also uses, with the knobs tests turn (a failing close, a refused write) and
// a count of every call.
#include "platform/testing/FakeState.h"

namespace tsen::platform {

using fake::detail::FakeState;
using fake::detail::withState;

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  return withState([&](FakeState& s) {
    ++s.calls.regOpenKey;
    return s.openKeys.openIn(s.registry, root, subKey, key);
  });
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  return withState([&](FakeState& s) {
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
  });
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  return withState([&](FakeState& s) {
    ++s.calls.regQueryValue;
    return s.openKeys.queryIn(s.registry, key, valueName, type, data, size);
  });
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  return withState([&](FakeState& s) {
    ++s.calls.regSetValue;
    const auto location = s.openKeys.locate(key);
    RegistryKey* found = location ? s.registry.find(location->root, location->path) : nullptr;
    const std::string_view name = valueName != nullptr ? valueName : "";
    if (found == nullptr || (data == nullptr && size > 0) ||
        (s.refusedValueName && asciiEqualNoCase(name, *s.refusedValueName))) {
      return false;
    }
    found->setValue(name,
                    {type, size > 0 ? std::string(static_cast<const char*>(data), size) : ""});
    return true;
  });
}

bool regCloseKey(HKEY key) {
  return withState([&](FakeState& s) {
    ++s.calls.regCloseKey;
    return !s.closeKeyFails && s.openKeys.close(key);
  });
}

bool regEnumKey(HKEY key, std::uint32_t index, std::string& name) {
  return withState(
      [&](FakeState& s) { return s.openKeys.enumKeyIn(s.registry, key, index, name); });
}

bool regEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                  std::string& data) {
  return withState([&](FakeState& s) {
    return s.openKeys.enumValueIn(s.registry, key, index, name, type, data);
  });
}

bool regDeleteValue(HKEY key, const std::string& name) {
  return withState([&](FakeState& s) {
    const auto location = s.openKeys.locate(key);
    RegistryKey* found = location ? s.registry.find(location->root, location->path) : nullptr;
    if (found == nullptr || found->value(name) == nullptr) {
      return false;
    }
    found->removeValue(name);
    return true;
  });
}

bool regDeleteTree(HKEY root, const std::string& subKey) {
  return withState([&](FakeState& s) {
    const auto location = s.openKeys.locate(root, subKey.c_str());
    if (subKey.empty() || !location || s.registry.find(location->root, location->path) == nullptr) {
      return false;
    }
    s.registry.remove(location->root, location->path);
    return true;
  });
}

} // namespace tsen::platform

// ---- Control of the test double ----------------------------------------------

namespace tsen::fake {

using detail::FakeState;
using detail::withState;
using platform::KeyLocation;
using platform::RegistryTree;

namespace {

// Calls use with the registry and the key keyPath names below root, under
// the state's lock.
template <class Use> decltype(auto) atKey(HKEY root, std::string_view keyPath, Use&& use) {
  return withState([&](FakeState& s) {
    const auto location = s.openKeys.locate(root, std::string(keyPath).c_str());
    return use(s.registry, location.value_or(KeyLocation{}));
  });
}

} // namespace

void createKey(HKEY root, std::string_view keyPath) {
  atKey(root, keyPath,
        [](RegistryTree& tree, const KeyLocation& at) { tree.create(at.root, at.path); });
}

void removeKey(HKEY root, std::string_view keyPath) {
  atKey(root, keyPath,
        [](RegistryTree& tree, const KeyLocation& at) { tree.remove(at.root, at.path); });
}

bool keyExists(HKEY root, std::string_view keyPath) {
  return atKey(root, keyPath, [](RegistryTree& tree, const KeyLocation& at) {
    return tree.find(at.root, at.path) != nullptr;
  });
}

void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value) {
  atKey(root, keyPath, [&](RegistryTree& tree, const KeyLocation& at) {
    tree.create(at.root, at.path).setValue(name, std::move(value));
  });
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
  return atKey(root, keyPath, [&](RegistryTree& tree, const KeyLocation& at) {
    const platform::RegistryKey* key = tree.find(at.root, at.path);
    const RegistryValue* found = key != nullptr ? key->value(name) : nullptr;
    return found != nullptr ? std::optional(*found) : std::nullopt;
  });
}

std::optional<std::string> stringValue(HKEY root, std::string_view keyPath, std::string_view name) {
  const auto stored = value(root, keyPath, name);
  return stored ? std::optional(stored->data.substr(0, stored->data.find('\0'))) : std::nullopt;
}

int openHandles() {
  return withState([](FakeState& s) { return static_cast<int>(s.openKeys.count()); });
}

void setCloseKeyFails(bool fails) {
  withState([&](FakeState& s) { s.closeKeyFails = fails; });
}

void refuseWritesOf(std::string_view valueName) {
  withState([&](FakeState& s) {
    s.refusedValueName = valueName.empty() ? std::nullopt : std::optional<std::string>(valueName);
  });
}

} // namespace tsen::fake
