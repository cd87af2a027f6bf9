// The registry as the reg subcommands need it beyond the library's accessor:
// whole keys read with everything below them, and keys and values deleted.
// One implementation per system: the Win32 registry on Windows, the
// portable layer's registry file elsewhere.
#pragma once

#include "tools/tsenv/RegKeyName.h"

#include "platform/common/RegistryTree.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

using tsen::platform::RegistryKey;
using tsen::platform::RegistryTree;
using tsen::platform::RegistryValue;

struct RegChange {
  enum class Kind { createKey, setValue, deleteValue, deleteKey };
  Kind kind = Kind::createKey;
  RegKeyName key;
  std::string valueName;
  RegistryValue value;
};

class SuiteRegistry {
public:
  virtual ~SuiteRegistry() = default;
  // Copies the key with its values and every key below it into tree; false
  // when the key does not exist.
  virtual bool copyKey(const RegKeyName& key, RegistryTree& tree) = 0;
  // Makes the changes in order; false when one of them fails (a change to a
  // key or value that does not exist fails).
  virtual bool apply(const std::vector<RegChange>& changes) = 0;
};

std::unique_ptr<SuiteRegistry> openSuiteRegistry();

// The text of a registry file without a byte order mark (REGEDIT4), read in
// the ANSI code page as the registry editor reads it: the system's own on
// Windows, Windows-1252 elsewhere.
std::string ansiFileText(std::string_view bytes);

// The changes that turn the suite's keys as before holds them into those of
// after (RegFile.cpp).
std::vector<RegChange> changesBetween(const RegistryTree& before, const RegistryTree& after);

// The keys that exist of keys, each with everything below it, in one tree.
inline RegistryTree copyKeys(SuiteRegistry& registry, const std::vector<RegKeyName>& keys) {
  RegistryTree tree;
  for (const RegKeyName& key : keys) {
    registry.copyKey(key, tree);
  }
  return tree;
}

} // namespace tsenv
