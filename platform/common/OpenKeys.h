// Open keys of a RegistryTree backend. A handle names a key by root and path,
// so it outlives a replaced tree; a key deleted meanwhile fails every call.
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
  // subKey is "A\B\C", or empty or null for key itself. One trailing backslash
  // passes; a leading one, an empty name, a name longer than the system allows
  // or one with a line break (no registry file line can hold it) is refused.
  std::optional<KeyLocation> locate(HKEY key) const;
  std::optional<KeyLocation> locate(HKEY key, const char* subKey) const;
  // `from` itself for an empty subKey, as RegOpenKeyA answers, else a new one.
  HKEY open(HKEY from, const char* subKey, KeyLocation location);
  template <class Tree> auto* keyIn(Tree& tree, HKEY key) const {
    const auto location = locate(key);
    return location ? tree.find(location->root, location->path) : nullptr;
  }
  // RegOpenKeyA, RegQueryValueExA, RegEnumKeyExW and RegEnumValueW on tree.
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
