#include "platform/common/RegistryTree.h"

#include <utility>

namespace tsen::platform {

namespace {

constexpr std::array<std::string_view, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                        "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// The key at path below key, for const and mutable keys alike.
template <class Key> Key* descend(Key* key, std::span<const std::string> path) {
  for (const std::string& name : path) {
    key = key->child(name);
    if (key == nullptr) {
      return nullptr;
    }
  }
  return key;
}

template <class Map> auto* entryNamed(Map& map, std::string_view name) {
  const auto found = map.find(name);
  return found == map.end() ? nullptr : &*found;
}

} // namespace

std::optional<RegistryRoot> rootFromName(std::string_view name) {
  const auto found = std::ranges::find_if(
      kRootNames, [&](std::string_view rootName) { return asciiEqualNoCase(rootName, name); });
  if (found == kRootNames.end()) {
    return std::nullopt;
  }
  return static_cast<RegistryRoot>(found - kRootNames.begin());
}

std::string_view rootName(RegistryRoot root) {
  return kRootNames.at(static_cast<std::size_t>(root));
}

std::string keyName(RegistryRoot root, std::span<const std::string> path) {
  std::string name(rootName(root));
  for (const std::string& component : path) {
    name += '\\';
    name += component;
  }
  return name;
}

bool isWithin(std::span<const std::string> path, std::span<const std::string> ancestor) {
  return ancestor.size() <= path.size() &&
         std::ranges::equal(path.first(ancestor.size()), ancestor, sameName);
}

RegistryKey::~RegistryKey() {
  std::vector<std::unique_ptr<RegistryKey>> pending;
  const auto takeChildren = [&](RegistryKey& key) {
    for (auto& [name, child] : key.children_) {
      pending.push_back(std::move(child));
    }
    key.children_.clear();
  };
  takeChildren(*this);
  while (!pending.empty()) {
    const std::unique_ptr<RegistryKey> key = std::move(pending.back());
    pending.pop_back();
    takeChildren(*key); // then freed with no children left
  }
}

const RegistryKey* RegistryKey::child(std::string_view name) const {
  const auto* entry = entryNamed(children_, name);
  return entry != nullptr ? entry->second.get() : nullptr;
}

RegistryKey* RegistryKey::child(std::string_view name) {
  auto* entry = entryNamed(children_, name);
  return entry != nullptr ? entry->second.get() : nullptr;
}

RegistryKey& RegistryKey::childOrCreate(std::string_view name) {
  std::unique_ptr<RegistryKey>& child = children_.try_emplace(std::string(name)).first->second;
  if (!child) {
    child = std::make_unique<RegistryKey>();
  }
  return *child;
}

void RegistryKey::removeChild(std::string_view name) {
  children_.erase(std::string(name));
}

const RegistryValue* RegistryKey::value(std::string_view name) const {
  const auto* entry = entryNamed(values_, name);
  return entry != nullptr ? &entry->second : nullptr;
}

void RegistryKey::setValue(std::string_view name, RegistryValue value) {
  values_.insert_or_assign(std::string(name), std::move(value)); // an existing name keeps its case
}

void RegistryKey::removeValue(std::string_view name) {
  values_.erase(std::string(name));
}

const std::string* RegistryKey::valueName(std::string_view name) const {
  const auto* entry = entryNamed(values_, name);
  return entry != nullptr ? &entry->first : nullptr;
}

const RegistryKey* RegistryTree::find(RegistryRoot root, std::span<const std::string> path) const {
  return descend(&roots_.at(static_cast<std::size_t>(root)), path);
}

RegistryKey* RegistryTree::find(RegistryRoot root, std::span<const std::string> path) {
  return descend(&roots_.at(static_cast<std::size_t>(root)), path);
}

RegistryKey& RegistryTree::create(RegistryRoot root, std::span<const std::string> path) {
  RegistryKey* key = &roots_.at(static_cast<std::size_t>(root));
  for (const std::string& name : path) {
    key = &key->childOrCreate(name);
  }
  return *key;
}

void RegistryTree::remove(RegistryRoot root, std::span<const std::string> path) {
  if (path.empty()) {
    return;
  }
  if (RegistryKey* parent = find(root, path.first(path.size() - 1))) {
    parent->removeChild(path.back());
  }
}

KeyPath RegistryTree::spelledAsStored(RegistryRoot root, std::span<const std::string> path) const {
  KeyPath spelled(path.begin(), path.end());
  const RegistryKey* key = &roots_.at(static_cast<std::size_t>(root));
  for (std::string& name : spelled) {
    const auto stored = key->children().find(name);
    if (stored == key->children().end()) {
      break;
    }
    name = stored->first;
    key = stored->second.get();
  }
  return spelled;
}

} // namespace tsen::platform
