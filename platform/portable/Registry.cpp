// The registry functions of the platform interface over the registry file.
#include "platform/Platform.h"
#include "platform/common/OpenKeys.h"
#include "platform/common/TextEncoding.h"
#include "platform/portable/RegistryStore.h"

namespace tsen::platform {

using portable::RegistryStore;
using EditResult = RegistryStore::EditResult;

namespace {

OpenKeys& openKeys() {
  static OpenKeys keys;
  return keys;
}

// Changes the file through change(document, key, where) while the key at
// names exists in it; where is at spelt as the file stores it.
template <class Change> bool changeKey(const std::optional<KeyLocation>& at, Change change) {
  return at &&
         RegistryStore::instance().update([&](RegDocument& document, const RegistryTree& tree) {
           const RegistryKey* key = tree.find(at->root, at->path);
           return key == nullptr
                      ? EditResult::failed
                      : change(document, *key,
                               KeyLocation{at->root, tree.spelledAsStored(at->root, at->path)});
         });
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
  const std::string_view name = valueName != nullptr ? valueName : "";
  // A name with a line break cannot be written on a line of the file.
  if ((data == nullptr && size > 0) || name.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  const RegistryValue value{type,
                            size > 0 ? std::string(static_cast<const char*>(data), size) : ""};
  return changeKey(openKeys().locate(key), [&](RegDocument& document, const RegistryKey& found,
                                               const KeyLocation& where) {
    const RegistryValue* current = found.value(name);
    if (current != nullptr && *current == value) {
      return EditResult::unchanged;
    }
    const std::string* storedName = found.valueName(name);
    document.setValue(where.root, where.path, storedName != nullptr ? *storedName : name, value);
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
  return changeKey(openKeys().locate(key),
                   [&](RegDocument& document, const RegistryKey& found, const KeyLocation& where) {
                     const std::string* storedName = found.valueName(name);
                     if (storedName == nullptr) {
                       return EditResult::failed;
                     }
                     document.deleteValue(where.root, where.path, *storedName);
                     return EditResult::changed;
                   });
}

bool regDeleteTree(HKEY root, const std::string& subKey) {
  return !subKey.empty() &&
         changeKey(openKeys().locate(root, subKey.c_str()),
                   [](RegDocument& document, const RegistryKey&, const KeyLocation& where) {
                     document.deleteKey(where.root, where.path);
                     return EditResult::changed;
                   });
}

// The host's 8-bit text is UTF-8 already, and Windows-1252, a western
// system's, stands in for the ANSI code page.
bool regOpenKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return regOpenKey(root, subKey.c_str(), key);
}

bool regCreateKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return regCreateKey(root, subKey.c_str(), key);
}

bool regSetValueUtf8(HKEY key, const std::string& name, std::uint32_t type,
                     const std::string& data) {
  return regSetValue(key, name.c_str(), type, data.data(), static_cast<std::uint32_t>(data.size()));
}

std::string utf8FromAnsi(std::string_view text) {
  return fromWindows1252(text);
}

} // namespace tsen::platform
