// The registry functions of the platform interface over the registry file.
// A key handle names a key by its root and path, not by a place in the
// parsed file, which is replaced whenever the file changes; a key deleted in
// the meantime fails every call made through its handles.
#include "platform/Platform.h"
#include "platform/portable/RegistryStore.h"
#include "platform/portable/TextPieces.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace tsen::platform {

using portable::KeyPath;
using portable::RegistryRoot;
using portable::RegistryStore;
using portable::RegistryTree;
using portable::RegistryValue;
using EditResult = RegistryStore::EditResult;

namespace {

constexpr std::size_t kMaxKeyNameLength = 255;
const HKEY kUsers = predefinedKey(static_cast<std::int32_t>(0x80000003u));

struct KeyLocation {
  RegistryRoot root;
  KeyPath path;
};

// Open keys by handle. Handles are small multiples of four, far from the
// predefined keys' values, and never reused while the process lives.
class HandleTable {
public:
  HKEY add(KeyLocation location) {
    const std::lock_guard lock(mutex_);
    next_ += 4;
    keys_.emplace(next_, std::move(location));
    return reinterpret_cast<HKEY>(next_);
  }
  std::optional<KeyLocation> find(HKEY key) const {
    const std::lock_guard lock(mutex_);
    const auto found = keys_.find(reinterpret_cast<std::uintptr_t>(key));
    return found == keys_.end() ? std::nullopt : std::optional(found->second);
  }
  bool remove(HKEY key) {
    const std::lock_guard lock(mutex_);
    return keys_.erase(reinterpret_cast<std::uintptr_t>(key)) > 0;
  }

private:
  mutable std::mutex mutex_;
  std::uintptr_t next_ = 0x1000;
  std::unordered_map<std::uintptr_t, KeyLocation> keys_;
};

HandleTable& handles() {
  static HandleTable table;
  return table;
}

std::optional<RegistryRoot> predefinedRoot(HKEY key) {
  if (key == kClassesRoot) {
    return RegistryRoot::classesRoot;
  }
  if (key == kCurrentUser) {
    return RegistryRoot::currentUser;
  }
  if (key == kLocalMachine) {
    return RegistryRoot::localMachine;
  }
  if (key == kUsers) {
    return RegistryRoot::users;
  }
  return std::nullopt;
}

std::optional<KeyLocation> locate(HKEY key) {
  if (const auto root = predefinedRoot(key)) {
    return KeyLocation{*root, {}};
  }
  return handles().find(key);
}

// Names a line of the registry file can hold: no line breaks.
bool fitsOnALine(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos;
}

// "A\B\C" below key. An empty path is the key itself; one trailing backslash
// is let pass, a leading one or an empty name between two is refused.
std::optional<KeyLocation> locate(HKEY key, const char* subKey) {
  auto location = locate(key);
  if (!location || subKey == nullptr || *subKey == '\0') {
    return location;
  }
  std::string_view path = subKey;
  if (path.ends_with('\\')) {
    path.remove_suffix(1);
  }
  for (const std::string_view name : portable::splitAt(path, '\\')) {
    if (name.empty() || name.size() > kMaxKeyNameLength || !fitsOnALine(name)) {
      return std::nullopt;
    }
    location->path.emplace_back(name);
  }
  return location;
}

bool keyExists(const KeyLocation& location) {
  return RegistryStore::instance().read(
      [&](const RegistryTree& tree) { return tree.find(location.root, location.path) != nullptr; });
}

} // namespace

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  auto location = locate(root, subKey);
  if (!location || !keyExists(*location)) {
    return false;
  }
  key = handles().add(std::move(*location));
  return true;
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  auto location = locate(root, subKey);
  if (!location) {
    return false;
  }
  if (!keyExists(*location)) {
    const std::size_t baseDepth = locate(root)->path.size();
    const bool created = RegistryStore::instance().update(
        [&](portable::RegDocument& document, const RegistryTree& tree) {
          if (tree.find(location->root, location->path) != nullptr) {
            return EditResult::unchanged; // made by someone else meanwhile
          }
          // Keys are created below an open key only while it still exists.
          const std::span<const std::string> base(location->path.data(), baseDepth);
          if (tree.find(location->root, base) == nullptr) {
            return EditResult::failed;
          }
          document.addKey(location->root, tree.spelledAsStored(location->root, location->path));
          return EditResult::changed;
        });
    if (!created) {
      return false;
    }
  }
  key = handles().add(std::move(*location));
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  const auto location = locate(key);
  if (!location) {
    return false;
  }
  const std::string_view name = valueName != nullptr ? valueName : "";
  return RegistryStore::instance().read([&](const RegistryTree& tree) {
    const portable::RegistryKey* found = tree.find(location->root, location->path);
    const RegistryValue* value = found != nullptr ? found->value(name) : nullptr;
    if (value == nullptr) {
      return false;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (type != nullptr) {
      *type = value->type;
    }
    if (data != nullptr && needed > size) {
      size = needed;
      return false;
    }
    if (data != nullptr) {
      std::ranges::copy(value->data, static_cast<char*>(data));
    }
    size = needed;
    return true;
  });
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  const auto location = locate(key);
  const std::string_view name = valueName != nullptr ? valueName : "";
  if (!location || (data == nullptr && size > 0) || !fitsOnALine(name)) {
    return false;
  }
  const RegistryValue value{
      type, data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string()};
  return RegistryStore::instance().update(
      [&](portable::RegDocument& document, const RegistryTree& tree) {
        const portable::RegistryKey* found = tree.find(location->root, location->path);
        if (found == nullptr) {
          return EditResult::failed;
        }
        const RegistryValue* current = found->value(name);
        if (current != nullptr && *current == value) {
          return EditResult::unchanged;
        }
        const std::string* storedName = found->valueName(name);
        document.setValue(location->root, tree.spelledAsStored(location->root, location->path),
                          storedName != nullptr ? *storedName : name, value);
        return EditResult::changed;
      });
}

bool regCloseKey(HKEY key) {
  return predefinedRoot(key).has_value() || handles().remove(key);
}

} // namespace tsen::platform
