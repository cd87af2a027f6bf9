// Open registry keys of a backend that keeps the registry as a RegistryTree.
// A handle names a key by its root and path, not by a place in memory, so it
// stays valid when the backend replaces its tree; a key deleted meanwhile
// fails every call made through its handles.
#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"

#include <mutex>
#include <unordered_map>

namespace tsen::platform {

struct KeyLocation {
  RegistryRoot root = RegistryRoot::currentUser;
  KeyPath path;
};

// The predefined key of root (HKEY_CLASSES_ROOT and the three after it).
inline HKEY rootKey(RegistryRoot root) {
  return predefinedKey(static_cast<std::int32_t>(0x80000000u + static_cast<unsigned>(root)));
}

class OpenKeys {
public:
  // The key that a predefined root or an open handle names, and the key
  // subKey ("A\B\C", or empty or null for key itself) names below it. One
  // trailing backslash is let pass; a leading one, an empty name between
  // two, a name longer than the system allows or one with a line break
  // (which no line of a registry file can hold) is refused.
  std::optional<KeyLocation> locate(HKEY key) const;
  std::optional<KeyLocation> locate(HKEY key, const char* subKey) const;
  // The handle of a key just opened or created below `from`: `from` itself
  // for an empty subKey, as RegOpenKeyA hands it back, otherwise a new one.
  HKEY open(HKEY from, const char* subKey, KeyLocation location);
  // The key of tree that an open handle or a predefined root names.
  template <class Tree> auto* keyIn(Tree& tree, HKEY key) const {
    const auto location = locate(key);
    return location ? tree.find(location->root, location->path) : nullptr;
  }
  // RegOpenKeyA, RegQueryValueExA, RegEnumKeyExW and RegEnumValueW on the
  // keys of tree, keys and values in name order.
  bool openIn(const RegistryTree& tree, HKEY root, const char* subKey, HKEY& key);
  bool queryIn(const RegistryTree& tree, HKEY key, const char* valueName, std::uint32_t* type,
               void* data, std::uint32_t& size) const;
  bool enumKeyIn(const RegistryTree& tree, HKEY key, std::uint32_t index, std::string& name) const;
  bool enumValueIn(const RegistryTree& tree, HKEY key, std::uint32_t index, std::string& name,
                   std::uint32_t& type, std::string& data) const;
  // RegCloseKey: a predefined root closes; an unknown handle does not.
  bool close(HKEY key);
  // Handles open now, predefined roots not counted.
  std::size_t count() const;
  void clear();

private:
  mutable std::mutex mutex_;
  std::uintptr_t lastHandle_ = 0x1000; // far from the predefined keys' values
  std::unordered_map<std::uintptr_t, KeyLocation> keys_;
};

} // namespace tsen::platform
