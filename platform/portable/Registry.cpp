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

} // namespace

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  return RegistryStore::instance().read(
      [&](const RegistryTree& tree) { return openKeys().openIn(tree, root, subKey, key); });
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  const auto base = openKeys().locate(root);
  auto location = openKeys().locate(root, subKey);
  if (!base || !location) {
    return false;
  }
  const std::size_t baseDepth = base->path.size();
  const auto exists = [&](const RegistryTree& tree, std::size_t depth) {
    return tree.find(location->root, std::span(location->path).first(depth)) != nullptr;
  };
  auto& store = RegistryStore::instance();
  const bool made =
      store.read([&](const RegistryTree& tree) { return exists(tree, location->path.size()); }) ||
      store.update([&](RegDocument& document, const RegistryTree& tree) {
        if (exists(tree, location->path.size())) {
          return EditResult::unchanged; // made by someone else meanwhile
        }
        if (!exists(tree, baseDepth)) {
          return EditResult::failed; // keys are made below an open key only while it exists
        }
        document.addKey(location->root, tree.spelledAsStored(location->root, location->path));
        return EditResult::changed;
      });
  if (!made) {
    return false;
  }
  key = openKeys().open(root, subKey, std::move(*location));
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  return RegistryStore::instance().read([&](const RegistryTree& tree) {
    return openKeys().queryIn(tree, key, valueName, type, data, size);
  });
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  const auto location = openKeys().locate(key);
  const std::string_view name = valueName != nullptr ? valueName : "";
  // A name with a line break cannot be written on a line of the file.
  if (!location || (data == nullptr && size > 0) ||
      name.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  const RegistryValue value{type,
                            size > 0 ? std::string(static_cast<const char*>(data), size) : ""};
  return RegistryStore::instance().update([&](RegDocument& document, const RegistryTree& tree) {
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

bool regEnumKey(HKEY key, std::uint32_t index, std::string& name) {
  return RegistryStore::instance().read(
      [&](const RegistryTree& tree) { return openKeys().enumKeyIn(tree, key, index, name); });
}

bool regEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                  std::string& data) {
  return RegistryStore::instance().read([&](const RegistryTree& tree) {
    return openKeys().enumValueIn(tree, key, index, name, type, data);
  });
}

bool regDeleteValue(HKEY key, const std::string& name) {
  const auto location = openKeys().locate(key);
  return location && RegistryStore::instance().update([&](RegDocument& document,
                                                          const RegistryTree& tree) {
    const RegistryKey* found = tree.find(location->root, location->path);
    if (found == nullptr || found->value(name) == nullptr) {
      return EditResult::failed;
    }
    document.deleteValue(location->root, tree.spelledAsStored(location->root, location->path),
                         *found->valueName(name));
    return EditResult::changed;
  });
}

bool regDeleteTree(HKEY root, const std::string& subKey) {
  const auto location = openKeys().locate(root, subKey.c_str());
  return !subKey.empty() && location &&
         RegistryStore::instance().update([&](RegDocument& document, const RegistryTree& tree) {
           if (tree.find(location->root, location->path) == nullptr) {
             return EditResult::failed;
           }
           document.deleteKey(location->root, tree.spelledAsStored(location->root, location->path));
           return EditResult::changed;
         });
}

} // namespace tsen::platform
