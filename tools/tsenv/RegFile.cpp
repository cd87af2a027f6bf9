#include "tools/tsenv/RegFile.h"

#include "tools/tsenv/Commands.h"

#include "platform/Platform.h"
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

void appendKey(std::string& text, const RegKeyName& name, const RegistryKey& key) {
  text += '[';
  text += name.text();
  text += ']';
  text += kNewline;
  for (const auto& [valueName, value] : key.values()) {
    for (const std::string& line :
         portable::formatAssignment(valueName, value, RegFileDialect::version5)) {
      text += line;
      text += kNewline;
    }
  }
  text += kNewline;
  for (const auto& [childName, child] : key.children()) {
    appendKey(text, below(name, childName), *child);
  }
}

// The file's line number refused, and why, as one line.
[[noreturn]] void refuse(std::string_view file, std::size_t line, const std::string& why) {
  throw UsageError(std::string(file) + ":" + std::to_string(line) + ": " + why +
                   "; nothing was imported");
}

// The header, as regedit takes it: the first line, alone on it, in UTF-16
// with its byte order mark or in 8 bits without one.
void requireHeader(std::string_view file, std::string_view fileBytes) {
  const portable::DecodedFile decoded = portable::decodeFile(fileBytes);
  std::string_view first = std::string_view(decoded.text).substr(0, decoded.text.find('\n'));
  first.remove_suffix(first.ends_with('\r') ? 1 : 0);
  if (decoded.encoding == portable::FileEncoding::utf8WithBom ||
      (first != kVersion5Header && first != kRegedit4Header)) {
    refuse(file, 1,
           "not a registry file: its first line must be \"" + std::string(kVersion5Header) +
               "\" or \"" + std::string(kRegedit4Header) +
               "\", in UTF-16 or in 8 bits without a byte order mark");
  }
}

bool isAboveSuiteKey(const RegKeyName& name) {
  return std::ranges::any_of(suiteKeys(), [&](const RegKeyName& suite) {
    return suite.root == name.root && suite.path.size() > name.path.size() &&
           isWithin(suite.path, name.path);
  });
}

// Refuses a section that creates, changes or deletes anything outside the
// suite's keys; the keys above them may appear as sections that set nothing.
void requireOnlySuiteKeys(std::string_view file, const portable::RegDocument& document) {
  using Section = portable::DocumentSection;
  std::size_t line = 0;
  for (const Section& section : document.sections()) {
    line += section.header ? 1 : 0;
    const RegKeyName name{section.root, section.path};
    const bool setsNothing =
        std::ranges::all_of(section.entries, [](const portable::DocumentEntry& entry) {
          return entry.kind == portable::DocumentEntry::Kind::opaque;
        });
    if (section.kind != Section::Kind::opaque && !isSuiteKey(name) &&
        (section.kind == Section::Kind::deleteKey || !setsNothing || !isAboveSuiteKey(name))) {
      refuse(file, line,
             std::string(section.kind == Section::Kind::deleteKey ? "deletes '" : "sets '") +
                 name.text() + "', which is not one of the suite's keys");
    }
    for (const portable::DocumentEntry& entry : section.entries) {
      line += entry.lines.size();
    }
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

std::vector<RegChange> changesBetween(const RegistryTree& before, const RegistryTree& after) {
  std::vector<RegChange> changes;
  for (const RegKeyName& suite : suiteKeys()) {
    diffKey(suite, before.find(suite.root, suite.path), after.find(suite.root, suite.path),
            changes);
  }
  return changes;
}

std::string registrySections(const RegistryTree& tree, const std::vector<RegKeyName>& keys) {
  std::string text;
  for (const RegKeyName& name : keys) {
    if (const RegistryKey* key = tree.find(name.root, name.path)) {
      appendKey(text, name, *key);
    }
  }
  return text;
}

std::string registryFileText(const RegistryTree& tree, const std::vector<RegKeyName>& keys) {
  std::string text(kVersion5Header);
  text += kNewline;
  text += kNewline;
  text += registrySections(tree, keys);
  return text;
}

void printRegistryText(std::string text) {
  std::erase(text, '\r');
  std::cout << text;
}

std::vector<RegChange> planImport(std::string_view file, std::string_view fileBytes,
                                  SuiteRegistry& registry) {
  requireHeader(file, fileBytes);
  // A REGEDIT4 file is in the ANSI code page: it is read into 8-bit text
  // first, as the registry editor of this system reads it.
  const bool ansi = fileBytes.substr(0, fileBytes.find_first_of("\r\n")) == kRegedit4Header;
  const portable::RegDocument document = portable::RegDocument::parse(
      ansi ? ansiFileText(fileBytes) : std::string(fileBytes), portable::FileEncoding::eightBit);
  requireOnlySuiteKeys(file, document);

  const RegistryTree before = copyKeys(registry, suiteKeys());
  RegistryTree after = copyKeys(registry, suiteKeys());
  document.applyTo(after);
  std::vector<RegChange> changes = changesBetween(before, after);
  // regedit ends the text it sets with a zero when the file's data lacks one.
  for (RegChange& change : changes) {
    std::string& data = change.value.data;
    const auto type = change.value.type;
    if ((type == tsen::platform::kRegSz || type == tsen::platform::kRegExpandSz) && !data.empty() &&
        !data.ends_with('\0')) {
      data += '\0';
    }
  }
  return changes;
}

} // namespace tsenv
