#include "tools/tsenv/RegFile.h"

#include "tools/tsenv/Commands.h"

#include "platform/portable/RegDocument.h"
#include "platform/portable/TextEncoding.h"
#include "platform/portable/TextPieces.h"

#include <algorithm>
#include <iostream>

namespace tsenv {

namespace {

namespace portable = tsen::platform::portable;

constexpr std::string_view kNewline = "\r\n";
constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRegedit4Header = "REGEDIT4";

// The key child directly below name.
RegKeyName below(const RegKeyName& name, const std::string& child) {
  RegKeyName childKey = name;
  childKey.path.push_back(child);
  return childKey;
}

void appendKey(std::string& text, const RegKeyName& name, const RegistryKey& key,
               RegFileDialect dialect) {
  text += '[';
  text += name.text();
  text += ']';
  text += kNewline;
  for (const auto& [valueName, value] : key.values()) {
    for (const std::string& line : portable::formatAssignment(valueName, value, dialect)) {
      text += line;
      text += kNewline;
    }
  }
  text += kNewline;
  for (const auto& [childName, child] : key.children()) {
    appendKey(text, below(name, childName), *child, dialect);
  }
}

RegFileDialect dialectOf(std::string_view text) {
  for (const std::string_view line : portable::splitAt(text, '\n')) {
    std::string_view trimmed = line;
    if (trimmed.ends_with('\r')) {
      trimmed.remove_suffix(1);
    }
    trimmed = portable::trim(trimmed);
    if (trimmed.empty()) {
      continue;
    }
    if (trimmed == kVersion5Header) {
      return RegFileDialect::version5;
    }
    if (trimmed == kRegedit4Header) {
      return RegFileDialect::regedit4;
    }
    break;
  }
  throw UsageError("not a registry file: it must begin with \"" + std::string(kVersion5Header) +
                   "\" or \"" + std::string(kRegedit4Header) + "\"");
}

bool isAboveSuiteKey(const RegKeyName& name) {
  return std::ranges::any_of(suiteKeys(), [&](const RegKeyName& suite) {
    return suite.root == name.root && suite.path.size() > name.path.size() &&
           isWithin(suite.path, name.path);
  });
}

// Refuses keys and values outside the suite's keys; the keys above them may
// appear, empty, as sections of their own.
void requireOnlySuiteKeys(const RegKeyName& name, const RegistryKey& key) {
  if (isSuiteKey(name)) {
    return;
  }
  if (!isAboveSuiteKey(name) || !key.values().empty()) {
    throw UsageError("the file sets '" + name.text() +
                     "', which is not one of the suite's keys; nothing was imported");
  }
  for (const auto& [childName, child] : key.children()) {
    requireOnlySuiteKeys(below(name, childName), *child);
  }
}

void diffKey(const RegKeyName& name, const RegistryKey* before, const RegistryKey* after,
             std::vector<RegChange>& changes) {
  using Kind = RegChange::Kind;
  if (after == nullptr) {
    if (before != nullptr) {
      changes.push_back({Kind::deleteKey, name, {}, {}});
    }
    return;
  }
  if (before == nullptr) {
    changes.push_back({Kind::createKey, name, {}, {}});
  } else {
    for (const auto& [valueName, value] : before->values()) {
      if (after->value(valueName) == nullptr) {
        changes.push_back({Kind::deleteValue, name, valueName, {}});
      }
    }
    for (const auto& [childName, child] : before->children()) {
      if (after->child(childName) == nullptr) {
        changes.push_back({Kind::deleteKey, below(name, childName), {}, {}});
      }
    }
  }
  for (const auto& [valueName, value] : after->values()) {
    const RegistryValue* old = before != nullptr ? before->value(valueName) : nullptr;
    if (old == nullptr || !(*old == value)) {
      changes.push_back({Kind::setValue, name, valueName, value});
    }
  }
  for (const auto& [childName, child] : after->children()) {
    diffKey(below(name, childName), before != nullptr ? before->child(childName) : nullptr,
            child.get(), changes);
  }
}

} // namespace

std::string registrySections(const RegistryTree& tree, const std::vector<RegKeyName>& keys,
                             RegFileDialect dialect) {
  std::string text;
  for (const RegKeyName& name : keys) {
    if (const RegistryKey* key = tree.find(name.root, name.path)) {
      appendKey(text, name, *key, dialect);
    }
  }
  return text;
}

std::string registryFileText(const RegistryTree& tree, const std::vector<RegKeyName>& keys,
                             RegFileDialect dialect) {
  std::string text(dialect == RegFileDialect::version5 ? kVersion5Header : kRegedit4Header);
  text += kNewline;
  text += kNewline;
  text += registrySections(tree, keys, dialect);
  return text;
}

void printRegistryText(std::string text) {
  std::erase(text, '\r');
  std::cout << text;
}

std::vector<RegChange> planImport(std::string_view fileBytes, const RegistryTree& current) {
  const portable::DecodedFile decoded = portable::decodeFile(fileBytes);
  const RegFileDialect dialect = dialectOf(decoded.text);

  const RegistryTree imported = portable::RegDocument::parse(fileBytes).toTree();
  for (const RegistryRoot root : {RegistryRoot::classesRoot, RegistryRoot::currentUser,
                                  RegistryRoot::localMachine, RegistryRoot::users}) {
    for (const auto& [childName, child] : imported.find(root, {})->children()) {
      requireOnlySuiteKeys({root, {childName}}, *child);
    }
  }

  // Replaying the file after the suite's keys as they are now gives them as
  // they will be: later sections win and deletions apply where they stand.
  const std::string replay = registryFileText(current, suiteKeys(), dialect) + decoded.text;
  const RegistryTree after = portable::RegDocument::parse(replay).toTree();

  std::vector<RegChange> changes;
  for (const RegKeyName& suite : suiteKeys()) {
    diffKey(suite, current.find(suite.root, suite.path), after.find(suite.root, suite.path),
            changes);
  }
  return changes;
}

} // namespace tsenv
