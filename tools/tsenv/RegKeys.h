// The suite's keys as the reg subcommands see them: names as the user
// writes them, whole keys copied with everything below them and changed
// through the platform layer's calls for whole keys, and registry files
// (.reg) written and replayed.
#pragma once

#include "platform/common/OpenKeys.h"
#include "platform/common/RegistryTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

using tsen::platform::KeyLocation;
using tsen::platform::RegistryKey;
using tsen::platform::RegistryTree;
using tsen::platform::RegistryValue;

// "HKEY_CURRENT_USER\...", "HKCU\...", "HKLM\...", or a path below the product
// key root of the layout in force ("Kernel Services"); UsageError unless it
// names one of the suite's keys or a key below one.
KeyLocation parseSuiteKeyName(std::string_view text);
// "HKEY_CURRENT_USER\SOFTWARE\...", and "SOFTWARE\..." below the root.
std::string nameOf(const KeyLocation& key);
std::string relativePath(const KeyLocation& key);

// HKEY_CURRENT_USER\<the suite key> and the Kernel Services keys of both
// layouts below HKEY_LOCAL_MACHINE.
std::vector<KeyLocation> suiteKeys();
bool isSuiteKey(const KeyLocation& key);

struct RegChange {
  enum class Kind { createKey, setValue, deleteValue, deleteKey };
  Kind kind = Kind::createKey;
  KeyLocation key;
  std::string valueName;
  RegistryValue value;
};

// The keys that exist of keys, each with everything below it, in one tree.
RegistryTree copyKeys(const std::vector<KeyLocation>& keys);
// The changes that turn the suite's keys as before holds them into after's.
std::vector<RegChange> changesBetween(const RegistryTree& before, const RegistryTree& after);
// Makes the changes in order; when one fails (as a change to a key or value
// that does not exist does), puts back what was made and answers false.
bool applyChanges(const std::vector<RegChange>& changes);

// The keys of tree named by keys, each with everything below it, as the
// sections of a version 5.00 file ("[KEY]" and a line per value, lines
// ending in CR LF), behind its header when withHeader.
std::string registryText(const RegistryTree& tree, const std::vector<KeyLocation>& keys,
                         bool withHeader);
// Registry file text on standard output, lines ending as the system wants.
void printRegistryText(std::string text);
// What importing fileBytes, the file named file, does to the suite's keys as
// they are now, replayed as the system's registry editor imports. Throws
// UsageError, naming the file and line, when fileBytes is no registry file
// or creates, changes or deletes anything outside the suite's keys.
std::vector<RegChange> planImport(std::string_view file, std::string_view fileBytes);

} // namespace tsenv
