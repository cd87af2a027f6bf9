// A registry file as lines: sections of keys with their value lines, and
// every line the registry does not understand (comments, malformed lines,
// sections of unknown roots) kept verbatim in its place. Writing changes
// only the lines of the values and keys that were set or created, so the
// rest of the file comes back byte for byte.
#pragma once

#include "platform/portable/RegValueText.h"
#include "platform/portable/RegistryTree.h"
#include "platform/portable/TextEncoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace tsen::platform::portable {

struct SourceLine {
  std::string text;
  std::string ending; // "\r\n", "\n", or empty for a last line without one
};

struct DocumentEntry {
  enum class Kind { opaque, setValue, deleteValue };
  Kind kind = Kind::opaque;
  std::vector<SourceLine> lines; // empty once the value was changed here
  std::string name;
  RegistryValue value;
};

struct DocumentSection {
  enum class Kind { opaque, key, deleteKey };
  Kind kind = Kind::opaque;
  std::vector<SourceLine> header; // empty for a section added here
  RegistryRoot root = RegistryRoot::currentUser;
  KeyPath path;
  std::vector<DocumentEntry> entries;
};

class RegDocument {
public:
  static RegDocument parse(std::string_view fileBytes);
  std::string serialize() const;

  // The registry that importing the file gives: sections in order, later
  // assignments replacing earlier ones, deletions applied where they stand.
  RegistryTree toTree() const;

  // Adds a section for a key that does not exist yet. path is spelt as the
  // key should be stored (see RegistryTree::spelledAsStored).
  void addKey(RegistryRoot root, const KeyPath& path);
  // Sets a value of an existing key: the line that gives the value its
  // current data is rewritten in place, otherwise the value is added to the
  // key's last section.
  void setValue(RegistryRoot root, const KeyPath& path, std::string_view name,
                const RegistryValue& value);

private:
  std::vector<DocumentEntry>& liveSectionEntries(RegistryRoot root, const KeyPath& path);

  FileEncoding encoding_ = FileEncoding::eightBit;
  std::string strayByte_;
  RegFileDialect dialect_ = RegFileDialect::version5;
  bool hasHeader_ = false;
  std::string newline_ = "\r\n";
  std::vector<DocumentEntry> preamble_;
  std::vector<DocumentSection> sections_;
};

} // namespace tsen::platform::portable
