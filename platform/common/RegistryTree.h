// The registry in memory, shared by the backends that keep their own. Names
// are found in any case and keep the case they were created in.
#pragma once

#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tsen::platform {

enum class RegistryRoot : std::uint8_t { classesRoot, currentUser, localMachine, users };

// "HKEY_CURRENT_USER" and the like, in any letter case.
std::optional<RegistryRoot> rootFromName(std::string_view name);
std::string_view rootName(RegistryRoot root);

using KeyPath = std::vector<std::string>;

// "HKEY_CURRENT_USER\SOFTWARE\..." (the root alone for an empty path).
std::string keyName(RegistryRoot root, std::span<const std::string> path);

struct RegistryValue {
  std::uint32_t type = 0;
  std::string data; // the bytes as RegQueryValueExA hands them out
  bool operator==(const RegistryValue&) const = default;
};

// A REG_DWORD's four bytes, little-endian as the system keeps them.
inline std::string dwordBytes(std::uint32_t number) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) {
    bytes += static_cast<char>(number >> shift);
  }
  return bytes;
}

// UTF-8 names compared without regard to case, non-ASCII letters included.
bool nameLess(std::string_view a, std::string_view b);
bool sameName(std::string_view a, std::string_view b);
// path is ancestor itself or lies below it, names compared as sameName.
bool isWithin(std::span<const std::string> path, std::span<const std::string> ancestor);

// Transparent, so that maps keyed by the name as stored are searched with any spelling.
struct IgnoringCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return nameLess(a, b); }
};

class RegistryKey {
public:
  using Children = std::map<std::string, std::unique_ptr<RegistryKey>, IgnoringCaseLess>;
  using Values = std::map<std::string, RegistryValue, IgnoringCaseLess>;

  RegistryKey() = default;
  RegistryKey(RegistryKey&&) = default;
  RegistryKey& operator=(RegistryKey&&) = default;
  // A file decides how deep keys nest: they are freed level by level, never
  // by a recursion as deep as the tree.
  ~RegistryKey();

  const RegistryKey* child(std::string_view name) const;
  RegistryKey* child(std::string_view name) {
    return const_cast<RegistryKey*>(std::as_const(*this).child(name));
  }
  RegistryKey& childOrCreate(std::string_view name);
  void removeChild(std::string_view name) { children_.erase(std::string(name)); }

  const RegistryValue* value(std::string_view name) const;
  // An existing value keeps the case of its name.
  void setValue(std::string_view name, RegistryValue value) {
    values_.insert_or_assign(std::string(name), std::move(value));
  }
  void removeValue(std::string_view name) { values_.erase(std::string(name)); }
  const std::string* valueName(std::string_view name) const;

  const Children& children() const { return children_; }
  const Values& values() const { return values_; }

private:
  Children children_;
  Values values_;
};

class RegistryTree {
public:
  const RegistryKey* find(RegistryRoot root, std::span<const std::string> path) const;
  RegistryKey* find(RegistryRoot root, std::span<const std::string> path) {
    return const_cast<RegistryKey*>(std::as_const(*this).find(root, path));
  }
  RegistryKey& create(RegistryRoot root, std::span<const std::string> path);
  // Removes the key with everything below it; a root itself stays.
  void remove(RegistryRoot root, std::span<const std::string> path);
  // path spelt in the case of the keys that exist, the rest as given.
  KeyPath spelledAsStored(RegistryRoot root, std::span<const std::string> path) const;

private:
  std::array<RegistryKey, 4> roots_;
};

} // namespace tsen::platform
