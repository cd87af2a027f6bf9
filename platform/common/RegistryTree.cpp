#include "platform/common/RegistryTree.h"

#include "platform/common/TextEncoding.h"

namespace tsen::platform {

namespace {

constexpr std::array<std::string_view, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                        "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// The next character of UTF-8 text, taken off its front; a byte that starts
// no well-formed sequence stands for itself, apart from every character.
char32_t nextCharacter(std::string_view& text) {
  const auto [character, length] = leadingCodePoint(text);
  const auto lead = static_cast<unsigned char>(text[0]);
  text.remove_prefix(std::max<std::size_t>(length, 1));
  return length > 0 ? character : 0x110000 + lead;
}

// The upper-case letter of c in the alphabets a setting's name is written in
// (Latin, Greek, Cyrillic), as the registry compares names.
char32_t upper(char32_t c) {
  const auto inRange = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
  if (inRange(U'a', U'z') || (inRange(0xE0, 0xFE) && c != 0xF7) || inRange(0x3B1, 0x3CB) ||
      inRange(0x430, 0x44F)) {
    return c == 0x3C2 ? c : c - 0x20;
  }
  if (c == 0xFF) {
    return 0x178;
  }
  if (inRange(0x450, 0x45F)) {
    return c - 0x50;
  }
  // Latin Extended-A pairs: upper case on the even code, or on the odd one
  // in the two runs that start one later.
  const bool oddUpper = inRange(0x139, 0x148) || inRange(0x179, 0x17E);
  if ((inRange(0x100, 0x137) || inRange(0x14A, 0x177) || oddUpper) && (c % 2 == 0) == oddUpper) {
    return c - 1;
  }
  return c;
}

int compareNames(std::string_view a, std::string_view b) {
  while (!a.empty() && !b.empty()) {
    const char32_t x = upper(nextCharacter(a));
    const char32_t y = upper(nextCharacter(b));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return a.empty() ? (b.empty() ? 0 : -1) : 1;
}

} // namespace

bool nameLess(std::string_view a, std::string_view b) {
  return compareNames(a, b) < 0;
}

bool sameName(std::string_view a, std::string_view b) {
  return compareNames(a, b) == 0;
}

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
    name += '\\' + component;
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
  const auto found = children_.find(name);
  return found == children_.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::childOrCreate(std::string_view name) {
  std::unique_ptr<RegistryKey>& child = children_.try_emplace(std::string(name)).first->second;
  if (!child) {
    child = std::make_unique<RegistryKey>();
  }
  return *child;
}

const RegistryValue* RegistryKey::value(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second;
}

const std::string* RegistryKey::valueName(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->first;
}

const RegistryKey* RegistryTree::find(RegistryRoot root, std::span<const std::string> path) const {
  const RegistryKey* key = &roots_.at(static_cast<std::size_t>(root));
  for (auto name = path.begin(); key != nullptr && name != path.end(); ++name) {
    key = key->child(*name);
  }
  return key;
}

RegistryKey& RegistryTree::create(RegistryRoot root, std::span<const std::string> path) {
  RegistryKey* key = &roots_.at(static_cast<std::size_t>(root));
  for (const std::string& name : path) {
    key = &key->childOrCreate(name);
  }
  return *key;
}

void RegistryTree::remove(RegistryRoot root, std::span<const std::string> path) {
  RegistryKey* parent = path.empty() ? nullptr : find(root, path.first(path.size() - 1));
  if (parent != nullptr) {
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
