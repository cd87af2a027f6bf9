// The registry functions of the platform interface over the registry file,
// with the open keys and the tree every backend that keeps its own registry
// shares.
#include "platform/Platform.h"
#include "platform/common/OpenKeys.h"
#include "platform/portable/RegistryStore.h"

namespace tsen::platform {

using portable::RegistryStore;
using EditResult = RegistryStore::EditResult;

namespace {

OpenKeys& openKeys() {
  static OpenKeys keys;
  return keys;
}

// Names a line of the registry file can hold: no line breaks.
bool fitsOnALine(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos;
}

std::optional<KeyLocation> locate(HKEY key, const char* subKey) {
  auto location = openKeys().locate(key, subKey);
  if (location && !std::ranges::all_of(location->path, fitsOnALine)) {
    return std::nullopt;
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
  key = openKeys().open(root, subKey, std::move(*location));
  return true;
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  auto location = locate(root, subKey);
  if (!location) {
    return false;
  }
  if (!keyExists(*location)) {
    const std::size_t baseDepth = openKeys().locate(root)->path.size();
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
  key = openKeys().open(root, subKey, std::move(*location));
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  const auto location = openKeys().locate(key);
  return location && RegistryStore::instance().read([&](const RegistryTree& tree) {
    const RegistryKey* found = tree.find(location->root, location->path);
    return found != nullptr &&
           answerQuery(found->value(valueName != nullptr ? valueName : ""), type, data, size);
  });
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  const auto location = openKeys().locate(key);
  const std::string_view name = valueName != nullptr ? valueName : "";
  if (!location || (data == nullptr && size > 0) || !fitsOnALine(name)) {
    return false;
  }
  const RegistryValue value{type,
                            size > 0 ? std::string(static_cast<const char*>(data), size) : ""};
  return RegistryStore::instance().update(
      [&](portable::RegDocument& document, const RegistryTree& tree) {
        const RegistryKey* found = tree.find(location->root, location->path);
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
  return openKeys().close(key);
}

} // namespace tsen::platform
