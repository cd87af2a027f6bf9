#include "platform/common/OpenKeys.h"

namespace tsen::platform {

namespace {

// The longest key name the registry editor imports: Windows documents 255
// characters; Wine's registry, against which the import is checked, takes 256.
constexpr std::size_t kMaxKeyNameLength = 256;

std::optional<RegistryRoot> predefinedRoot(HKEY key) {
  const auto offset = reinterpret_cast<std::uintptr_t>(key) -
                      reinterpret_cast<std::uintptr_t>(rootKey(RegistryRoot::classesRoot));
  return offset <= static_cast<std::uintptr_t>(RegistryRoot::users)
             ? std::optional(static_cast<RegistryRoot>(offset))
             : std::nullopt;
}

} // namespace

std::optional<KeyLocation> OpenKeys::locate(HKEY key) const {
  if (const auto root = predefinedRoot(key)) {
    return KeyLocation{*root, {}};
  }
  const std::lock_guard lock(mutex_);
  const auto found = keys_.find(reinterpret_cast<std::uintptr_t>(key));
  return found == keys_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<KeyLocation> OpenKeys::locate(HKEY key, const char* subKey) const {
  auto location = locate(key);
  std::string_view path = subKey != nullptr ? subKey : "";
  path.remove_suffix(path.ends_with('\\') ? 1 : 0);
  while (location && !path.empty()) {
    const auto cut = path.find('\\');
    const std::string_view name = path.substr(0, cut);
    if (name.empty() || name.size() > kMaxKeyNameLength || cut + 1 == path.size() ||
        name.find_first_of("\r\n") != std::string_view::npos) {
      return std::nullopt;
    }
    location->path.emplace_back(name);
    path = cut == std::string_view::npos ? std::string_view{} : path.substr(cut + 1);
  }
  return location;
}

HKEY OpenKeys::open(HKEY from, const char* subKey, KeyLocation location) {
  if (subKey == nullptr || *subKey == '\0') {
    return from;
  }
  const std::lock_guard lock(mutex_);
  lastHandle_ += 4;
  keys_.emplace(lastHandle_, std::move(location));
  return reinterpret_cast<HKEY>(lastHandle_);
}

bool OpenKeys::openIn(const RegistryTree& tree, HKEY root, const char* subKey, HKEY& key) {
  auto location = locate(root, subKey);
  if (!location || tree.find(location->root, location->path) == nullptr) {
    return false;
  }
  key = open(root, subKey, std::move(*location));
  return true;
}

bool OpenKeys::queryIn(const RegistryTree& tree, HKEY key, const char* valueName,
                       std::uint32_t* type, void* data, std::uint32_t& size) const {
  const RegistryKey* found = keyIn(tree, key);
  const RegistryValue* value =
      found != nullptr ? found->value(valueName != nullptr ? valueName : "") : nullptr;
  if (value == nullptr) {
    return false;
  }
  if (type != nullptr) {
    *type = value->type;
  }
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  const bool fits = data == nullptr || needed <= size;
  if (data != nullptr && fits) {
    std::ranges::copy(value->data, static_cast<char*>(data));
  }
  size = needed;
  return fits;
}

bool OpenKeys::enumKeyIn(const RegistryTree& tree, HKEY key, std::uint32_t index,
                         std::string& name) const {
  const RegistryKey* found = keyIn(tree, key);
  if (found == nullptr || index >= found->children().size()) {
    return false;
  }
  name = std::next(found->children().begin(), index)->first;
  return true;
}

bool OpenKeys::enumValueIn(const RegistryTree& tree, HKEY key, std::uint32_t index,
                           std::string& name, std::uint32_t& type, std::string& data) const {
  const RegistryKey* found = keyIn(tree, key);
  if (found == nullptr || index >= found->values().size()) {
    return false;
  }
  const auto& [valueName, value] = *std::next(found->values().begin(), index);
  name = valueName;
  type = value.type;
  data = value.data;
  return true;
}

bool OpenKeys::close(HKEY key) {
  const std::lock_guard lock(mutex_);
  return predefinedRoot(key).has_value() || keys_.erase(reinterpret_cast<std::uintptr_t>(key)) > 0;
}

std::size_t OpenKeys::count() const {
  const std::lock_guard lock(mutex_);
  return keys_.size();
}

void OpenKeys::clear() {
  const std::lock_guard lock(mutex_);
  keys_.clear();
}

} // namespace tsen::platform
