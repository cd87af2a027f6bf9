#include "tools/tsenv/RegKeys.h"

#include "tools/tsenv/Commands.h"

#include "platform/Platform.h"
#include "platform/common/RegDocument.h"

#include <algorithm>
#include <iostream>

namespace tsenv {

namespace {

namespace platform = tsen::platform;
using platform::DocumentEntry;
using platform::DocumentSection;
using platform::RegDocument;

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

} // namespace

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
