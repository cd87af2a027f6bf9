// A registry file as lines, those the registry does not understand kept in
// place with their bytes, so a write changes only the lines of the values and
// keys set or created, and the rest comes back byte for byte.
#pragma once

#include "platform/common/RegValueText.h"
#include "platform/common/RegistryTree.h"
#include "platform/common/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::platform {

// The first line of a file of each dialect.
inline constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kRegedit4Header = "REGEDIT4";

struct SourceLine {
  std::string text;  // 8-bit text without the line end
  std::string bytes; // as the file holds it, with its line end
  bool ended = true; // false for a last line without a line end
};

struct DocumentEntry {
  enum class Kind { opaque, setValue, deleteValue };
  Kind kind = Kind::opaque;
  std::vector<SourceLine> lines;
  std::string name;
  RegistryValue value;
};

struct DocumentSection {
  enum class Kind { opaque, key, deleteKey };
  Kind kind = Kind::opaque;
  std::optional<SourceLine> header; // none for the lines before the first section
  RegistryRoot root = RegistryRoot::currentUser;
  KeyPath path;
  std::vector<DocumentEntry> entries;
};

class RegDocument {
public:
  // A file without a header line gets one, of the dialect written here.
  static RegDocument parse(std::string_view fileBytes);
  std::string serialize() const;
  // The header's dialect where the registry editor requires it: alone on the
  // first line, in UTF-16 with a byte order mark or in 8 bits without one.
  static std::optional<RegFileDialect> headerDialect(std::string_view fileBytes);

  // What importing the file gives: sections in order, later assignments
  // replacing earlier ones, deletions applied where they stand.
  RegistryTree toTree() const;
  void applyTo(RegistryTree& tree) const;
  // In file order; the first holds the lines before the first section.
  const std::vector<DocumentSection>& sections() const { return sections_; }

  // Adds a section for a key that does not exist yet. path is spelt as the
  // key should be stored (see RegistryTree::spelledAsStored).
  void addKey(RegistryRoot root, const KeyPath& path);
  // Rewrites in place the line that gives the value its current data, else
  // adds the value to the key's last section.
  void setValue(RegistryRoot root, const KeyPath& path, std::string_view name,
                const RegistryValue& value);
  // Appends the deletion of a key with everything below it ("[-KEY]"), or
  // of one of its values ("name"=-), path spelt as the key is stored.
  void deleteKey(RegistryRoot root, const KeyPath& path);
  void deleteValue(RegistryRoot root, const KeyPath& path, std::string_view name);

private:
  // Adds lines (without line ends) after a blank line at the end; reparses.
  void appendLines(const std::vector<std::string>& lines);
  SourceLine madeLine(std::string_view text) const;

  FileEncoding encoding_ = FileEncoding::eightBit;
  RegFileDialect dialect_ = RegFileDialect::version5;
  std::string newline_ = "\r\n";
  std::string strayByte_; // an odd last byte of a UTF-16 file
  std::vector<DocumentSection> sections_;
};

} // namespace tsen::platform
