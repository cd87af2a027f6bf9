// Registry key names as the user writes them, and the keys of the suite that
// tsenv may read and change.
#pragma once

#include "platform/common/RegistryTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

using tsen::platform::KeyPath;
using tsen::platform::RegistryRoot;

struct RegKeyName {
  RegistryRoot root = RegistryRoot::currentUser;
  KeyPath path;

  // "HKEY_CURRENT_USER\SOFTWARE\..."
  std::string text() const;
  // "SOFTWARE\...", relative to the root.
  std::string relativePath() const;
};

// "HKEY_CURRENT_USER\...", "HKCU\...", "HKLM\...", or a path relative to the
// product key root of the layout in force ("Kernel Services"). Throws
// UsageError for a name it cannot read.
RegKeyName parseKeyName(std::string_view text);

// The keys tsenv works on: HKEY_CURRENT_USER\SOFTWARE\Quarzel\Tessaline with
// everything below it, and the Kernel Services keys of both layouts below
// HKEY_LOCAL_MACHINE.
std::vector<RegKeyName> suiteKeys();

// name is one of the suite keys or lies below one.
bool isSuiteKey(const RegKeyName& name);

// parseKeyName, then UsageError unless the key is a suite key.
RegKeyName parseSuiteKeyName(std::string_view text);

// path is ancestor itself or lies below it (names compared without regard to
// case, as the registry does).
bool isWithin(const KeyPath& path, const KeyPath& ancestor);

} // namespace tsenv
