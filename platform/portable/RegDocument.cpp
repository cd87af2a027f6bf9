#include "platform/portable/RegDocument.h"

#include "platform/portable/TextPieces.h"

#include <algorithm>

namespace tsen::platform::portable {

namespace {

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRegedit4Header = "REGEDIT4";

std::vector<SourceLine> splitLines(std::string_view text) {
  std::vector<SourceLine> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back({std::string(text), ""});
      break;
    }
    const std::size_t endingLength = end > 0 && text[end - 1] == '\r' ? 2 : 1;
    lines.push_back({std::string(text.substr(0, end + 1 - endingLength)),
                     std::string(text.substr(end + 1 - endingLength, endingLength))});
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool samePath(std::span<const std::string> a, std::span<const std::string> b) {
  return std::ranges::equal(a, b, asciiEqualNoCase);
}

bool isWithin(std::span<const std::string> path, std::span<const std::string> ancestor) {
  return ancestor.size() <= path.size() && samePath(path.first(ancestor.size()), ancestor);
}

// "[HKEY_CURRENT_USER\Software\Suite]" or "[-HKEY_...]"; any other line that
// opens with a bracket starts a section the registry leaves alone.
DocumentSection parseSectionHeader(const SourceLine& line) {
  DocumentSection section;
  section.header = {line};
  std::string_view name = trim(line.text);
  if (name.size() < 2 || !name.ends_with(']')) {
    return section;
  }
  name = name.substr(1, name.size() - 2);
  const bool deletion = name.starts_with('-');
  name.remove_prefix(deletion ? 1 : 0);
  const std::vector<std::string_view> components = splitAt(name, '\\');
  const bool wellFormed = std::ranges::none_of(
      components, [](std::string_view component) { return component.empty(); });
  const auto root = wellFormed ? rootFromName(components.front()) : std::nullopt;
  // A root itself cannot be deleted.
  if (!root || !wellFormed || (deletion && components.size() == 1)) {
    return section;
  }
  section.kind = deletion ? DocumentSection::Kind::deleteKey : DocumentSection::Kind::key;
  section.root = *root;
  section.path.assign(components.begin() + 1, components.end());
  return section;
}

std::string headerText(const DocumentSection& section) {
  std::string text = "[";
  text += rootName(section.root);
  for (const std::string& name : section.path) {
    text += '\\';
    text += name;
  }
  text += ']';
  return text;
}

// Writes lines with their own endings; lines added here get the file's.
class LineWriter {
public:
  explicit LineWriter(std::string_view newline) : newline_(newline) {}
  void add(std::string_view text, std::string_view ending) {
    if (lineOpen_) {
      out_ += newline_; // the old last line had no ending; something follows it now
    }
    out_ += text;
    out_ += ending;
    lineOpen_ = ending.empty();
    lastBlank_ = trim(text).empty();
  }
  void add(std::string_view text) { add(text, newline_); }
  void add(const std::vector<SourceLine>& lines) {
    for (const SourceLine& line : lines) {
      add(line.text, line.ending);
    }
  }
  // A blank line between what was written and a section that follows.
  void separate() {
    if (!lastBlank_) {
      add("");
    }
  }
  const std::string& text() const { return out_; }

private:
  std::string_view newline_;
  std::string out_;
  bool lineOpen_ = false;
  bool lastBlank_ = true;
};

} // namespace

RegDocument RegDocument::parse(std::string_view fileBytes) {
  RegDocument document;
  DecodedFile decoded = decodeFile(fileBytes);
  document.encoding_ = decoded.encoding;
  document.strayByte_ = std::move(decoded.strayByte);
  const std::vector<SourceLine> lines = splitLines(decoded.text);
  if (const auto ended = std::ranges::find_if(lines, [](auto& l) { return !l.ending.empty(); });
      ended != lines.end()) {
    document.newline_ = ended->ending;
  }

  // The first line that is not blank tells the dialect; without a header the
  // file is taken as version 5.00, the one written here.
  const auto first = std::ranges::find_if(lines, [](auto& l) { return !trim(l.text).empty(); });
  if (first != lines.end()) {
    const std::string_view header = trim(first->text);
    document.hasHeader_ = header == kVersion5Header || header == kRegedit4Header;
    document.dialect_ =
        header == kRegedit4Header ? RegFileDialect::regedit4 : RegFileDialect::version5;
  }

  std::vector<DocumentEntry>* entries = &document.preamble_;
  const DocumentSection* section = nullptr;
  for (std::size_t i = 0; i < lines.size();) {
    const std::string_view text = trim(lines[i].text);
    if (text.starts_with('[')) {
      section = &document.sections_.emplace_back(parseSectionHeader(lines[i]));
      entries = &document.sections_.back().entries;
      ++i;
      continue;
    }
    if (section != nullptr && section->kind == DocumentSection::Kind::key &&
        (text.starts_with('"') || text.starts_with('@'))) {
      std::size_t end = i + 1;
      if (continuesOnNextLine(lines[i].text)) {
        while (end < lines.size() && trimRight(lines[end - 1].text).ends_with('\\')) {
          ++end;
        }
      }
      std::vector<std::string_view> valueLines;
      for (std::size_t j = i; j < end; ++j) {
        valueLines.push_back(lines[j].text);
      }
      if (auto assignment = parseAssignment(valueLines, document.dialect_)) {
        DocumentEntry& entry = entries->emplace_back();
        entry.kind =
            assignment->value ? DocumentEntry::Kind::setValue : DocumentEntry::Kind::deleteValue;
        entry.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(i),
                           lines.begin() + static_cast<std::ptrdiff_t>(end));
        entry.name = std::move(assignment->name);
        entry.value = std::move(assignment->value).value_or(RegistryValue{});
        i = end;
        continue;
      }
    }
    entries->push_back({DocumentEntry::Kind::opaque, {lines[i]}, {}, {}});
    ++i;
  }
  return document;
}

std::string RegDocument::serialize() const {
  LineWriter writer(newline_);
  if (!hasHeader_) {
    writer.add(kVersion5Header);
    writer.add("");
  }
  const auto writeEntries = [&](const std::vector<DocumentEntry>& entries) {
    for (const DocumentEntry& entry : entries) {
      if (!entry.lines.empty()) {
        writer.add(entry.lines);
        continue;
      }
      for (const std::string& line : formatAssignment(entry.name, entry.value, dialect_)) {
        writer.add(line);
      }
    }
  };
  writeEntries(preamble_);
  for (const DocumentSection& section : sections_) {
    if (!section.header.empty()) {
      writer.add(section.header);
      writeEntries(section.entries);
      continue;
    }
    writer.separate();
    writer.add(headerText(section));
    writeEntries(section.entries);
    writer.add("");
  }
  return encodeFile(writer.text(), encoding_, strayByte_);
}

RegistryTree RegDocument::toTree() const {
  RegistryTree tree;
  for (const DocumentSection& section : sections_) {
    if (section.kind == DocumentSection::Kind::deleteKey) {
      tree.remove(section.root, section.path);
      continue;
    }
    if (section.kind != DocumentSection::Kind::key) {
      continue;
    }
    RegistryKey& key = tree.create(section.root, section.path);
    for (const DocumentEntry& entry : section.entries) {
      if (entry.kind == DocumentEntry::Kind::setValue) {
        key.setValue(entry.name, entry.value);
      } else if (entry.kind == DocumentEntry::Kind::deleteValue) {
        key.removeValue(entry.name);
      }
    }
  }
  return tree;
}

void RegDocument::addKey(RegistryRoot root, const KeyPath& path) {
  DocumentSection& section = sections_.emplace_back();
  section.kind = DocumentSection::Kind::key;
  section.root = root;
  section.path = path;
}

void RegDocument::setValue(RegistryRoot root, const KeyPath& path, std::string_view name,
                           const RegistryValue& value) {
  // Walk back from the end of the file to the last deletion of the key (or of
  // a key above it): the sections after it are the ones that make the key.
  DocumentSection* lastSection = nullptr;
  for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
    if (section->kind == DocumentSection::Kind::opaque || section->root != root) {
      continue;
    }
    if (section->kind == DocumentSection::Kind::deleteKey) {
      if (isWithin(path, section->path)) {
        break;
      }
      continue;
    }
    if (!samePath(section->path, path)) {
      continue;
    }
    lastSection = lastSection != nullptr ? lastSection : &*section;
    const auto assignment = std::find_if(
        section->entries.rbegin(), section->entries.rend(), [&](const DocumentEntry& entry) {
          return entry.kind != DocumentEntry::Kind::opaque && asciiEqualNoCase(entry.name, name);
        });
    if (assignment == section->entries.rend()) {
      continue;
    }
    if (assignment->kind == DocumentEntry::Kind::setValue) {
      // The line that gives the value its data now gives the new data.
      assignment->lines.clear();
      assignment->name = name;
      assignment->value = value;
      return;
    }
    break; // deleted after its last assignment: a new one goes last
  }
  if (lastSection == nullptr) {
    addKey(root, path);
    lastSection = &sections_.back();
  }
  // After the section's last line that is not blank, so the blank line that
  // separates it from the next section stays last.
  auto& entries = lastSection->entries;
  const auto lastContent =
      std::find_if(entries.rbegin(), entries.rend(), [](const DocumentEntry& entry) {
        return entry.kind != DocumentEntry::Kind::opaque || !trim(entry.lines.front().text).empty();
      });
  DocumentEntry added{DocumentEntry::Kind::setValue, {}, std::string(name), value};
  entries.insert(lastContent.base(), std::move(added));
}

} // namespace tsen::platform::portable
