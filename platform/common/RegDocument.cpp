#include "platform/common/RegDocument.h"

#include "platform/common/TextPieces.h"

#include <algorithm>
#include <utility>

namespace tsen::platform {

namespace {

// The lines of bytes (no byte order mark), cut after each line feed of the
// encoding; newline is set to the first line's ending.
std::vector<SourceLine> splitLines(std::string_view bytes, FileEncoding encoding,
                                   std::string& newline) {
  const std::string lineFeed = encodeText("\n", encoding);
  std::vector<SourceLine> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = start;
    while (end < bytes.size() && bytes.compare(end, lineFeed.size(), lineFeed) != 0) {
      end += lineFeed.size();
    }
    end = std::min(end + lineFeed.size(), bytes.size());
    SourceLine& line = lines.emplace_back();
    line.bytes = bytes.substr(start, end - start);
    line.text = decodeText(line.bytes, encoding);
    line.ended = line.text.ends_with('\n');
    if (line.ended) {
      line.text.pop_back();
      const bool crlf = line.text.ends_with('\r');
      line.text.resize(line.text.size() - (crlf ? 1 : 0));
      if (lines.size() == 1) { // only the last line may lack an ending
        newline = crlf ? "\r\n" : "\n";
      }
    }
    start = end;
  }
  return lines;
}

// "[HKEY_CURRENT_USER\Software\Suite]" or "[-HKEY_...]"; any other line that
// opens with a bracket starts a section the registry leaves alone. As
// regedit reads them, text after the closing bracket is passed over and
// empty components ("\\", a trailing "\") are no keys.
DocumentSection parseSectionHeader(const SourceLine& line) {
  DocumentSection section{DocumentSection::Kind::opaque, line, {}, {}, {}};
  std::string_view name = trim(line.text);
  const auto close = name.rfind(']');
  if (close == std::string_view::npos || close < 1) {
    return section;
  }
  name = name.substr(1, close - 1);
  const bool deletion = name.starts_with('-');
  name.remove_prefix(deletion ? 1 : 0);
  std::vector<std::string_view> components = splitAt(name, '\\');
  const bool wellFormed = !components.front().empty();
  std::erase(components, std::string_view{});
  const auto root = wellFormed ? rootFromName(components.front()) : std::nullopt;
  // A root itself cannot be deleted.
  if (!root || (deletion && components.size() == 1)) {
    return section;
  }
  section.kind = deletion ? DocumentSection::Kind::deleteKey : DocumentSection::Kind::key;
  section.root = *root;
  section.path.assign(components.begin() + 1, components.end());
  return section;
}

DocumentEntry opaque(SourceLine line) {
  return {DocumentEntry::Kind::opaque, {std::move(line)}, {}, {}};
}

bool isBlank(const DocumentEntry& entry) {
  return entry.kind == DocumentEntry::Kind::opaque && trim(entry.lines.front().text).empty();
}

} // namespace

RegDocument RegDocument::parse(std::string_view fileBytes) {
  RegDocument document;
  document.encoding_ = encodingOf(fileBytes);
  std::string_view bytes = fileBytes.substr(byteOrderMark(document.encoding_).size());
  if (document.encoding_ == FileEncoding::utf16Le && bytes.size() % 2 != 0) {
    document.strayByte_ = bytes.back();
    bytes.remove_suffix(1);
  }
  const std::vector<SourceLine> lines = splitLines(bytes, document.encoding_, document.newline_);
  std::vector<DocumentEntry>& preamble = document.sections_.emplace_back().entries;

  // The first line that is not blank tells the dialect; a file without a
  // header is taken as version 5.00, the one written here.
  const auto first = std::ranges::find_if(lines, [](auto& l) { return !trim(l.text).empty(); });
  const std::string_view header = first != lines.end() ? trim(first->text) : "";
  document.dialect_ =
      header == kRegedit4Header ? RegFileDialect::regedit4 : RegFileDialect::version5;
  if (header != kRegedit4Header && header != kVersion5Header) {
    preamble.push_back(opaque(document.madeLine(kVersion5Header)));
    preamble.push_back(opaque(document.madeLine("")));
  }

  for (std::size_t i = 0; i < lines.size();) {
    const DocumentSection& section = document.sections_.back();
    std::vector<DocumentEntry>& entries = document.sections_.back().entries;
    const std::string_view text = trim(lines[i].text);
    if (text.starts_with('[')) {
      document.sections_.push_back(parseSectionHeader(lines[i++]));
      continue;
    }
    if (section.kind == DocumentSection::Kind::key &&
        (text.starts_with('"') || text.starts_with('@'))) {
      // Hex data goes on past blank and comment lines and lines that end in a
      // backslash, which is cut off each line that something follows.
      std::string joined;
      std::size_t end = i;
      for (bool continued = true; continued && end < lines.size();) {
        std::string_view line = trim(lines[end].text);
        const bool skipped = end > i && (line.empty() || line.starts_with(';'));
        continued = end++ == i ? continuesOnNextLine(line) : skipped || line.ends_with('\\');
        line.remove_suffix(continued && end < lines.size() && line.ends_with('\\') ? 1 : 0);
        joined += skipped ? std::string_view{} : line;
      }
      if (auto assignment = parseAssignment(joined, document.dialect_, document.encoding_)) {
        entries.push_back(
            {assignment->value ? DocumentEntry::Kind::setValue : DocumentEntry::Kind::deleteValue,
             {lines.begin() + static_cast<std::ptrdiff_t>(i),
              lines.begin() + static_cast<std::ptrdiff_t>(end)},
             std::move(assignment->name),
             std::move(assignment->value).value_or(RegistryValue{})});
        i = end;
        continue;
      }
    }
    entries.push_back(opaque(lines[i++]));
  }
  return document;
}

std::optional<RegFileDialect> RegDocument::headerDialect(std::string_view fileBytes) {
  const FileEncoding encoding = encodingOf(fileBytes);
  const std::string text = decodeText(fileBytes.substr(byteOrderMark(encoding).size()), encoding);
  std::string_view first = std::string_view(text).substr(0, text.find('\n'));
  first.remove_suffix(first.ends_with('\r') ? 1 : 0);
  const bool regedit4 = first == kRegedit4Header;
  if (encoding == FileEncoding::utf8WithBom || (!regedit4 && first != kVersion5Header)) {
    return std::nullopt;
  }
  return regedit4 ? RegFileDialect::regedit4 : RegFileDialect::version5;
}

std::string RegDocument::serialize() const {
  std::string out(byteOrderMark(encoding_));
  bool lineOpen = false;
  const auto write = [&](const SourceLine& line) {
    // Something follows the old last line now.
    out += lineOpen ? encodeText(newline_, encoding_) : std::string();
    out += line.bytes;
    lineOpen = !line.ended;
  };
  for (const DocumentSection& section : sections_) {
    if (section.header) {
      write(*section.header);
    }
    for (const DocumentEntry& entry : section.entries) {
      std::ranges::for_each(entry.lines, write);
    }
  }
  return out + strayByte_;
}

RegistryTree RegDocument::toTree() const {
  RegistryTree tree;
  applyTo(tree);
  return tree;
}

void RegDocument::applyTo(RegistryTree& tree) const {
  for (const DocumentSection& section : sections_) {
    if (section.kind == DocumentSection::Kind::deleteKey) {
      tree.remove(section.root, section.path);
    } else if (section.kind == DocumentSection::Kind::key) {
      RegistryKey& key = tree.create(section.root, section.path);
      for (const DocumentEntry& entry : section.entries) {
        if (entry.kind == DocumentEntry::Kind::setValue) {
          key.setValue(entry.name, entry.value);
        } else if (entry.kind == DocumentEntry::Kind::deleteValue) {
          key.removeValue(entry.name);
        }
      }
    }
  }
}

SourceLine RegDocument::madeLine(std::string_view text) const {
  return {std::string(text), encodeText(std::string(text) + newline_, encoding_), true};
}

void RegDocument::addKey(RegistryRoot root, const KeyPath& path) {
  // A blank line between what is there and the new section, and one after it.
  std::vector<DocumentEntry>& before = sections_.back().entries;
  if ((before.empty() && sections_.back().header) || (!before.empty() && !isBlank(before.back()))) {
    before.push_back(opaque(madeLine("")));
  }
  sections_.push_back({DocumentSection::Kind::key,
                       madeLine("[" + keyName(root, path) + "]"),
                       root,
                       path,
                       {opaque(madeLine(""))}});
}

void RegDocument::deleteKey(RegistryRoot root, const KeyPath& path) {
  appendLines({"[-" + keyName(root, path) + "]"});
}

void RegDocument::deleteValue(RegistryRoot root, const KeyPath& path, std::string_view name) {
  appendLines({"[" + keyName(root, path) + "]", formatValueName(name) + "=-"});
}

void RegDocument::setValue(RegistryRoot root, const KeyPath& path, std::string_view name,
                           const RegistryValue& value) {
  DocumentEntry assignment{DocumentEntry::Kind::setValue, {}, std::string(name), value};
  for (const std::string& text : formatAssignment(name, value, dialect_)) {
    assignment.lines.push_back(madeLine(text));
  }
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
    if (!std::ranges::equal(section->path, path, sameName)) {
      continue;
    }
    lastSection = lastSection != nullptr ? lastSection : &*section;
    const auto found = std::find_if(
        section->entries.rbegin(), section->entries.rend(), [&](const DocumentEntry& entry) {
          return entry.kind != DocumentEntry::Kind::opaque && sameName(entry.name, name);
        });
    if (found != section->entries.rend()) {
      if (found->kind == DocumentEntry::Kind::setValue) {
        *found = std::move(assignment); // the line that gave the value its data
        return;
      }
      break; // deleted after its last assignment: a new one goes last
    }
  }
  if (lastSection == nullptr) {
    addKey(root, path);
    lastSection = &sections_.back();
  }
  // After the section's last line that is not blank, so the blank line that
  // separates it from the next section stays last.
  auto& entries = lastSection->entries;
  entries.insert(std::find_if_not(entries.rbegin(), entries.rend(), isBlank).base(),
                 std::move(assignment));
}

void RegDocument::appendLines(const std::vector<std::string>& lines) {
  std::vector<DocumentEntry>& entries = sections_.back().entries;
  entries.push_back(opaque(madeLine("")));
  for (const std::string& line : lines) {
    entries.push_back(opaque(madeLine(line)));
  }
  *this = parse(serialize());
}

} // namespace tsen::platform
