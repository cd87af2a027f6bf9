#include "tools/tsenv/RegKeys.h"

#include "tools/tsenv/Commands.h"

#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "platform/common/RegDocument.h"
#include "platform/common/TextPieces.h"
#include "registry/ProductKeys.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace tsenv {

namespace {

namespace platform = tsen::platform;
using platform::DocumentEntry;
using platform::DocumentSection;
using platform::RegDocument;
using platform::RegistryRoot;

struct KeyCloser {
  void operator()(HKEY key) const { platform::regCloseKey(key); }
};
using OpenKey = std::unique_ptr<HKEY__, KeyCloser>;

OpenKey openKey(HKEY parent, const std::string& path, bool create = false) {
  HKEY key = nullptr;
  const bool opened = create ? platform::regCreateKeyUtf8(parent, path, key)
                             : platform::regOpenKeyUtf8(parent, path, key);
  return OpenKey(opened ? key : nullptr);
}

OpenKey openKey(const KeyLocation& key, bool create = false) {
  return openKey(platform::rootKey(key.root), relativePath(key), create);
}

void copyOpenKey(HKEY key, RegistryKey& target) {
  std::string name;
  RegistryValue value;
  for (std::uint32_t i = 0; platform::regEnumValue(key, i, name, value.type, value.data); ++i) {
    target.setValue(name, value);
  }
  for (std::uint32_t i = 0; platform::regEnumKey(key, i, name); ++i) {
    if (const OpenKey child = openKey(key, name)) {
      copyOpenKey(child.get(), target.childOrCreate(name));
    }
  }
}

bool applyOne(const RegChange& change) {
  switch (change.kind) {
  case RegChange::Kind::createKey:
    return openKey(change.key, true) != nullptr;
  case RegChange::Kind::setValue: {
    const OpenKey key = openKey(change.key, true);
    return key && platform::regSetValueUtf8(key.get(), change.valueName, change.value.type,
                                            change.value.data);
  }
  case RegChange::Kind::deleteValue: {
    const OpenKey key = openKey(change.key);
    return key && platform::regDeleteValue(key.get(), change.valueName);
  }
  case RegChange::Kind::deleteKey:
    return platform::regDeleteTree(platform::rootKey(change.key.root), relativePath(change.key));
  }
  return false;
}

KeyLocation below(const KeyLocation& key, const std::string& child) {
  KeyLocation location = key;
  location.path.push_back(child);
  return location;
}

void diffKey(const KeyLocation& key, const RegistryKey* before, const RegistryKey* after,
             std::vector<RegChange>& changes) {
  using Kind = RegChange::Kind;
  if (after == nullptr) {
    if (before != nullptr) {
      changes.push_back({Kind::deleteKey, key, {}, {}});
    }
    return;
  }
  if (before == nullptr) {
    changes.push_back({Kind::createKey, key, {}, {}});
  } else {
    for (const auto& [name, value] : before->values()) {
      if (after->value(name) == nullptr) {
        changes.push_back({Kind::deleteValue, key, name, {}});
      }
    }
    for (const auto& [name, child] : before->children()) {
      if (after->child(name) == nullptr) {
        changes.push_back({Kind::deleteKey, below(key, name), {}, {}});
      }
    }
  }
  for (const auto& [name, value] : after->values()) {
    const RegistryValue* old = before != nullptr ? before->value(name) : nullptr;
    if (old == nullptr || !(*old == value)) {
      changes.push_back({Kind::setValue, key, name, value});
    }
  }
  for (const auto& [name, child] : after->children()) {
    diffKey(below(key, name), before != nullptr ? before->child(name) : nullptr, child.get(),
            changes);
  }
}

// The file's line number refused, and why, as one line.
[[noreturn]] void refuse(std::string_view file, std::size_t line, const std::string& why) {
  throw UsageError(std::string(file) + ":" + std::to_string(line) + ": " + why +
                   "; nothing was imported");
}

bool isAboveSuiteKey(const KeyLocation& key) {
  return std::ranges::any_of(suiteKeys(), [&](const KeyLocation& suite) {
    return suite.root == key.root && suite.path.size() > key.path.size() &&
           platform::isWithin(suite.path, key.path);
  });
}

// Refuses a section that creates, changes or deletes anything outside the
// suite's keys; the keys above them may appear as sections that set nothing.
void requireOnlySuiteKeys(std::string_view file, const RegDocument& document) {
  std::size_t line = 0;
  for (const DocumentSection& section : document.sections()) {
    line += section.header ? 1 : 0;
    const KeyLocation key{section.root, section.path};
    const bool setsNothing = std::ranges::all_of(section.entries, [](const DocumentEntry& entry) {
      return entry.kind == DocumentEntry::Kind::opaque;
    });
    const bool deletes = section.kind == DocumentSection::Kind::deleteKey;
    if (section.kind != DocumentSection::Kind::opaque && !isSuiteKey(key) &&
        (deletes || !setsNothing || !isAboveSuiteKey(key))) {
      refuse(file, line,
             (deletes ? "deletes '" : "sets '") + nameOf(key) +
                 "', which is not one of the suite's keys");
    }
    for (const DocumentEntry& entry : section.entries) {
      line += entry.lines.size();
    }
  }
}

// The names of "A\B"; none for "".
platform::KeyPath pathOf(std::string_view text) {
  platform::KeyPath path;
  for (const std::string_view name : platform::splitAt(text, '\\')) {
    path.emplace_back(name);
  }
  path.resize(text.empty() ? 0 : path.size());
  return path;
}

} // namespace

std::string relativePath(const KeyLocation& key) {
  std::string path;
  for (const std::string& name : key.path) {
    path += (path.empty() ? "" : "\\") + name;
  }
  return path;
}

std::string nameOf(const KeyLocation& key) {
  return platform::keyName(key.root, key.path);
}

std::vector<KeyLocation> suiteKeys() {
  const auto kernel = [](std::string_view root) {
    return pathOf(std::string(root) + "\\" + std::string(tsen::kKernelServices));
  };
  return {{RegistryRoot::currentUser, pathOf(tsen::kSuiteKey)},
          {RegistryRoot::localMachine, kernel(tsen::kProductRoot1840)},
          {RegistryRoot::localMachine, kernel(tsen::kProductRoot1901)}};
}

bool isSuiteKey(const KeyLocation& key) {
  return std::ranges::any_of(suiteKeys(), [&](const KeyLocation& suite) {
    return suite.root == key.root && platform::isWithin(key.path, suite.path);
  });
}

KeyLocation parseSuiteKeyName(std::string_view text) {
  while (text.ends_with('\\')) {
    text.remove_suffix(1);
  }
  if (text.empty()) {
    throw UsageError("no registry key given");
  }
  constexpr std::pair<std::string_view, std::string_view> kShortRoots[] = {
      {"HKCU", "HKEY_CURRENT_USER"},
      {"HKLM", "HKEY_LOCAL_MACHINE"},
      {"HKCR", "HKEY_CLASSES_ROOT"},
      {"HKU", "HKEY_USERS"}};
  const auto cut = text.find('\\');
  std::string_view first = text.substr(0, cut);
  for (const auto& [shortName, name] : kShortRoots) {
    first = tsen::asciiEqualNoCase(first, shortName) ? name : first;
  }
  const auto root = platform::rootFromName(first);
  const std::string path = !root                           ? TsEnBuildRegKey(std::string(text))
                           : cut == std::string_view::npos ? std::string()
                                                           : std::string(text.substr(cut + 1));
  const KeyLocation key{root.value_or(RegistryRoot::currentUser), pathOf(path)};
  if (std::ranges::any_of(key.path, &std::string::empty)) {
    throw UsageError("'" + nameOf(key) + "' is no registry key name (empty component)");
  }
  if (!isSuiteKey(key)) {
    throw UsageError("'" + nameOf(key) + "' is not one of the suite's keys (HKEY_CURRENT_USER\\" +
                     std::string(tsen::kSuiteKey) +
                     " and below, or the Kernel Services keys below HKEY_LOCAL_MACHINE)");
  }
  return key;
}

RegistryTree copyKeys(const std::vector<KeyLocation>& keys) {
  RegistryTree tree;
  for (const KeyLocation& key : keys) {
    if (const OpenKey opened = openKey(key)) {
      copyOpenKey(opened.get(), tree.create(key.root, key.path));
    }
  }
  return tree;
}

std::vector<RegChange> changesBetween(const RegistryTree& before, const RegistryTree& after) {
  std::vector<RegChange> changes;
  for (const KeyLocation& suite : suiteKeys()) {
    diffKey(suite, before.find(suite.root, suite.path), after.find(suite.root, suite.path),
            changes);
  }
  return changes;
}

bool applyChanges(const std::vector<RegChange>& changes) {
  const RegistryTree before = copyKeys(suiteKeys());
  for (const RegChange& change : changes) {
    if (!applyOne(change)) {
      // Puts back what was applied, as far as the registry lets it.
      for (const RegChange& undo : changesBetween(copyKeys(suiteKeys()), before)) {
        applyOne(undo);
      }
      return false;
    }
  }
  return true;
}

std::string registryText(const RegistryTree& tree, const std::vector<KeyLocation>& keys,
                         bool withHeader) {
  // Written as the store writes its file: a version 5.00 file, CR LF.
  RegDocument document = RegDocument::parse("");
  const auto add = [&](const auto& self, const KeyLocation& name, const RegistryKey& key) -> void {
    document.addKey(name.root, name.path);
    for (const auto& [valueName, value] : key.values()) {
      document.setValue(name.root, name.path, valueName, value);
    }
    for (const auto& [childName, child] : key.children()) {
      KeyLocation childKey = name;
      childKey.path.push_back(childName);
      self(self, childKey, *child);
    }
  };
  for (const KeyLocation& name : keys) {
    if (const RegistryKey* key = tree.find(name.root, name.path)) {
      add(add, name, *key);
    }
  }
  const std::string text = document.serialize();
  return withHeader ? text : text.substr(text.find("\r\n\r\n") + 4);
}

void printRegistryText(std::string text) {
  std::erase(text, '\r');
  std::cout << text;
}

std::vector<RegChange> planImport(std::string_view file, std::string_view fileBytes) {
  const auto dialect = RegDocument::headerDialect(fileBytes);
  if (!dialect) {
    refuse(file, 1,
           "not a registry file: its first line must be \"" +
               std::string(platform::kVersion5Header) + "\" or \"" +
               std::string(platform::kRegedit4Header) +
               "\", in UTF-16 or in 8 bits without a byte order mark");
  }
  // A REGEDIT4 file in 8 bits is in the ANSI code page, read as the
  // registry editor of this system reads it.
  const bool ansi = *dialect == platform::RegFileDialect::regedit4 &&
                    platform::encodingOf(fileBytes) == platform::FileEncoding::eightBit;
  const RegDocument document =
      RegDocument::parse(ansi ? platform::utf8FromAnsi(fileBytes) : std::string(fileBytes));
  requireOnlySuiteKeys(file, document);

  const RegistryTree before = copyKeys(suiteKeys());
  RegistryTree after = copyKeys(suiteKeys());
  document.applyTo(after);
  std::vector<RegChange> changes = changesBetween(before, after);
  // regedit ends the text it sets with a zero when the file's data lacks one.
  for (RegChange& change : changes) {
    std::string& data = change.value.data;
    const auto type = change.value.type;
    if ((type == platform::kRegSz || type == platform::kRegExpandSz) && !data.empty() &&
        !data.ends_with('\0')) {
      data += '\0';
    }
  }
  return changes;
}

} // namespace tsenv
