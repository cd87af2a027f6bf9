// reg: the suite's registry settings; values through the library's accessor,
// whole keys through the platform layer and the store's registry file code.
#include "tools/tsenv/Commands.h"

#include "platform/Platform.h"
#include "platform/common/OpenKeys.h"
#include "platform/common/RegDocument.h"
#include "platform/common/RegValueText.h"
#include "platform/common/TextEncoding.h"
#include "platform/common/TextPieces.h"
#include "registry/ProductKeys.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

namespace tsenv {
namespace {

namespace platform = tsen::platform;
using platform::DocumentEntry;
using platform::DocumentSection;
using platform::KeyLocation;
using platform::RegDocument;
using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryTree;
using platform::RegistryValue;

// The names of "A\B"; none for "".
platform::KeyPath pathOf(std::string_view text) {
  const auto names = text.empty() ? std::vector<std::string_view>{} : platform::splitAt(text, '\\');
  return {names.begin(), names.end()};
}

// "HKEY_CURRENT_USER\SOFTWARE\...", and "SOFTWARE\..." below the root.
std::string nameOf(const KeyLocation& key) {
  return platform::keyName(key.root, key.path);
}
std::string relativePath(const KeyLocation& key) {
  return nameOf(key).substr(platform::rootName(key.root).size() + (key.path.empty() ? 0 : 1));
}

bool isText(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz;
}

// HKEY_CURRENT_USER\<the suite key> and the Kernel Services keys of both
// layouts below HKEY_LOCAL_MACHINE.
std::vector<KeyLocation> suiteKeys() {
  const auto kernel = [](std::string_view root) {
    return pathOf(std::string(root) + "\\" + std::string(tsen::kKernelServices));
  };
  return {{RegistryRoot::currentUser, pathOf(tsen::kSuiteKey)},
          {RegistryRoot::localMachine, kernel(tsen::kProductRoot1840)},
          {RegistryRoot::localMachine, kernel(tsen::kProductRoot1901)}};
}

// key is one of the suite's keys or below one; with above, a key above one.
bool isSuiteKey(const KeyLocation& key, bool above = false) {
  return std::ranges::any_of(suiteKeys(), [&](const KeyLocation& suite) {
    return suite.root == key.root &&
           (above ? suite.path.size() > key.path.size() && platform::isWithin(suite.path, key.path)
                  : platform::isWithin(key.path, suite.path));
  });
}

// "HKEY_CURRENT_USER\...", "HKCU\...", or a path below the product key root in
// force ("Kernel Services"); UsageError unless it is a suite key or below one.
KeyLocation parseSuiteKeyName(std::string_view text) {
  while (text.ends_with('\\')) {
    text.remove_suffix(1);
  }
  if (text.empty()) {
    throw UsageError("no registry key given");
  }
  constexpr std::string_view kShortRoots[] = {"HKCR", "HKCU", "HKLM", "HKU"}; // as RegistryRoot
  const auto cut = text.find('\\');
  std::string_view first = text.substr(0, cut);
  for (std::size_t i = 0; i < std::size(kShortRoots); ++i) {
    first =
        tsen::asciiEqualNoCase(first, kShortRoots[i]) ? platform::rootName(RegistryRoot(i)) : first;
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

enum class Kind { createKey, setValue, deleteValue, deleteKey };
struct RegChange {
  Kind kind = Kind::createKey;
  KeyLocation key;
  std::string valueName;
  RegistryValue value;
};

using OpenKey = std::unique_ptr<HKEY__, decltype(&platform::regCloseKey)>;

OpenKey openKey(HKEY parent, const std::string& path, bool create = false) {
  HKEY key = nullptr;
  const bool opened = create ? platform::regCreateKeyUtf8(parent, path, key)
                             : platform::regOpenKeyUtf8(parent, path, key);
  return OpenKey(opened ? key : nullptr, &platform::regCloseKey);
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
  if (change.kind == Kind::deleteKey) {
    return platform::regDeleteTree(platform::rootKey(change.key.root), relativePath(change.key));
  }
  const OpenKey key = openKey(platform::rootKey(change.key.root), relativePath(change.key),
                              change.kind != Kind::deleteValue);
  return key && (change.kind == Kind::createKey ||
                 (change.kind == Kind::setValue
                      ? platform::regSetValueUtf8(key.get(), change.valueName, change.value.type,
                                                  change.value.data)
                      : platform::regDeleteValue(key.get(), change.valueName)));
}

void diffKey(const KeyLocation& key, const RegistryKey* before, const RegistryKey* after,
             std::vector<RegChange>& changes) {
  static const RegistryKey kNone;
  if ((before == nullptr) != (after == nullptr)) {
    changes.push_back({after != nullptr ? Kind::createKey : Kind::deleteKey, key, {}, {}});
  }
  if (after == nullptr) {
    return;
  }
  const RegistryKey& old = before != nullptr ? *before : kNone;
  const auto below = [&](const std::string& child) {
    KeyLocation location = key;
    location.path.push_back(child);
    return location;
  };
  for (const auto& [name, value] : old.values()) {
    if (after->value(name) == nullptr) {
      changes.push_back({Kind::deleteValue, key, name, {}});
    }
  }
  for (const auto& [name, child] : old.children()) {
    if (after->child(name) == nullptr) {
      changes.push_back({Kind::deleteKey, below(name), {}, {}});
    }
  }
  for (const auto& [name, value] : after->values()) {
    if (old.value(name) == nullptr || !(*old.value(name) == value)) {
      changes.push_back({Kind::setValue, key, name, value});
    }
  }
  for (const auto& [name, child] : after->children()) {
    diffKey(below(name), old.child(name), child.get(), changes);
  }
}

// The keys that exist of keys, each with everything below it, in one tree.
RegistryTree copyKeys(const std::vector<KeyLocation>& keys) {
  RegistryTree tree;
  for (const KeyLocation& key : keys) {
    if (const OpenKey opened = openKey(platform::rootKey(key.root), relativePath(key))) {
      copyOpenKey(opened.get(), tree.create(key.root, key.path));
    }
  }
  return tree;
}

// The changes that turn keys as before holds them into after's.
std::vector<RegChange> changesBetween(const RegistryTree& before, const RegistryTree& after,
                                      const std::vector<KeyLocation>& keys = suiteKeys()) {
  std::vector<RegChange> changes;
  for (const KeyLocation& key : keys) {
    diffKey(key, before.find(key.root, key.path), after.find(key.root, key.path), changes);
  }
  return changes;
}

// Makes the changes in order; when one fails (as a change to a key or value
// that does not exist does), puts back what was made and answers false.
bool applyChanges(const std::vector<RegChange>& changes) {
  const RegistryTree before = copyKeys(suiteKeys());
  if (std::ranges::all_of(changes, applyOne)) {
    return true;
  }
  for (const RegChange& undo : changesBetween(copyKeys(suiteKeys()), before)) {
    applyOne(undo); // as far as the registry lets it
  }
  return false;
}

[[noreturn]] void refuse(std::string_view file, std::size_t line, const std::string& why) {
  throw UsageError(std::string(file) + ":" + std::to_string(line) + ": " + why +
                   "; nothing was imported");
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
        (deletes || !setsNothing || !isSuiteKey(key, true))) {
      refuse(file, line,
             (deletes ? "deletes '" : "sets '") + nameOf(key) +
                 "', which is not one of the suite's keys");
    }
    for (const DocumentEntry& entry : section.entries) {
      line += entry.lines.size();
    }
  }
}

// The keys of tree named by keys, each with everything below it, as the store
// writes its file (version 5.00, CR LF; the header only when withHeader): the
// changes that make them from nothing, each key, its values, the keys below.
std::string registryText(const RegistryTree& tree, const std::vector<KeyLocation>& keys,
                         bool withHeader) {
  RegDocument document = RegDocument::parse("");
  for (const RegChange& change : changesBetween(RegistryTree(), tree, keys)) {
    change.kind == Kind::createKey
        ? document.addKey(change.key.root, change.key.path)
        : document.setValue(change.key.root, change.key.path, change.valueName, change.value);
  }
  const std::string text = document.serialize();
  return withHeader ? text : text.substr(text.find("\r\n\r\n") + 4);
}

void printRegistryText(std::string text) {
  std::erase(text, '\r');
  std::cout << text;
}

// Decimal or 0x-prefixed hexadecimal, negative numbers included, within 32 bits.
TsEnLong parseNumber(const std::string& text) {
  std::string_view digits = text;
  const bool negative = digits.starts_with('-');
  digits.remove_prefix(negative ? 1 : 0);
  const bool hex = digits.starts_with("0x") || digits.starts_with("0X");
  digits.remove_prefix(hex ? 2 : 0);
  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, hex ? 16 : 10);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
      magnitude > (negative ? 0x80000000u : 0xFFFFFFFFu)) {
    throw UsageError("'" + text + "' is not a 32-bit number");
  }
  const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
  return static_cast<TsEnLong>(static_cast<std::int32_t>(bits));
}

struct RegArguments {
  std::string key;
  std::string name;
  std::string data;
  bool dword = false;
  std::string file;
  std::vector<std::string> keys;
};

int get(const RegArguments& arguments, bool named) {
  const std::string& name = arguments.name;
  const KeyLocation key = parseSuiteKeyName(arguments.key);
  const RegistryTree tree = copyKeys({key});
  const RegistryKey* found = tree.find(key.root, key.path);
  if (found == nullptr) {
    std::cerr << "no key " << nameOf(key) << '\n';
    return kExitNo;
  }
  if (!named) {
    printRegistryText(registryText(tree, {key}, false));
    return kExitDone;
  }
  const RegistryValue* value = found->value(name);
  if (value == nullptr) {
    std::cerr << "no value \"" << name << "\" in " << nameOf(key) << '\n';
    return kExitNo;
  }
  // Through the library's accessor: numbers as numbers, text as text; other
  // types as a registry file spells them.
  const auto show = [](const auto& read) {
    return read && std::cout << *read << '\n' ? kExitDone : kExitNo;
  };
  const HKEY root = platform::rootKey(key.root);
  if (value->type == platform::kRegDword) {
    return show(readSetting<TsEnLong>(root, relativePath(key), name));
  }
  if (isText(value->type)) {
    return show(readSetting<std::string>(root, relativePath(key), name));
  }
  for (const std::string& line :
       platform::formatAssignment(name, *value, platform::RegFileDialect::version5)) {
    std::cout << line << '\n';
  }
  return kExitDone;
}

int set(const RegArguments& arguments, bool) {
  const KeyLocation key = parseSuiteKeyName(arguments.key);
  const TsEnLong number = arguments.dword ? parseNumber(arguments.data) : 0;
  TsEnWinRegistry registry;
  if (!registry.OpenKey(platform::rootKey(key.root), relativePath(key), true) ||
      !(arguments.dword ? registry.WriteLong(arguments.name, number)
                        : registry.WriteString(arguments.name, arguments.data))) {
    std::cerr << "could not write \"" << arguments.name << "\" in " << nameOf(key) << '\n';
    return kExitNo;
  }
  return kExitDone;
}

int remove(const RegArguments& arguments, bool named) {
  const KeyLocation key = parseSuiteKeyName(arguments.key);
  if (!applyChanges({{named ? Kind::deleteValue : Kind::deleteKey, key, arguments.name, {}}})) {
    std::cerr << "nothing deleted: no "
              << (named ? "value \"" + arguments.name + "\" in " : std::string("key "))
              << nameOf(key) << '\n';
    return kExitNo;
  }
  return kExitDone;
}

int exportKeys(const RegArguments& arguments, bool) {
  std::vector<KeyLocation> keys;
  std::ranges::transform(arguments.keys, std::back_inserter(keys), parseSuiteKeyName);
  keys = keys.empty() ? suiteKeys() : keys;
  const std::string text = registryText(copyKeys(keys), keys, true);
  if (arguments.file == "-") {
    printRegistryText(text);
    return kExitDone;
  }
  // As regedit writes it: UTF-16LE with its byte order mark, lines ending in CR LF.
  std::ofstream file(arguments.file, std::ios::binary | std::ios::trunc);
  if (!(file << platform::byteOrderMark(platform::FileEncoding::utf16Le)
             << platform::toUtf16LeBytes(text)) ||
      !file.flush()) {
    std::cerr << "cannot write " << arguments.file << '\n';
    return kExitNo;
  }
  std::cout << "wrote " << arguments.file << '\n';
  return kExitDone;
}

// Replays the file on the suite's keys as the registry editor imports it;
// UsageError, naming the file and line, for one it must not import.
int import(const RegArguments& arguments, bool) {
  std::ifstream file(arguments.file, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot read " + arguments.file);
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const auto dialect = RegDocument::headerDialect(bytes);
  if (!dialect) {
    refuse(arguments.file, 1,
           "not a registry file: its first line must be \"" +
               std::string(platform::kVersion5Header) + "\" or \"" +
               std::string(platform::kRegedit4Header) +
               "\", in UTF-16 or in 8 bits without a byte order mark");
  }
  // An 8-bit REGEDIT4 file is in the ANSI code page, as the registry editor reads it.
  const bool ansi = *dialect == platform::RegFileDialect::regedit4 &&
                    platform::encodingOf(bytes) == platform::FileEncoding::eightBit;
  const RegDocument document =
      RegDocument::parse(ansi ? platform::utf8FromAnsi(bytes) : std::string(bytes));
  requireOnlySuiteKeys(arguments.file, document);

  const RegistryTree before = copyKeys(suiteKeys());
  RegistryTree after = copyKeys(suiteKeys());
  document.applyTo(after);
  std::vector<RegChange> changes = changesBetween(before, after);
  // regedit ends the text it sets with a zero when the file's data lacks one.
  for (RegChange& change : changes) {
    std::string& data = change.value.data;
    if (isText(change.value.type) && !data.empty() && !data.ends_with('\0')) {
      data += '\0';
    }
  }
  if (!applyChanges(changes)) {
    std::cerr << "the import failed: the registry could not be written\n";
    return kExitNo;
  }
  std::cout << "imported " << arguments.file << ": " << changes.size() << " change"
            << (changes.size() == 1 ? "" : "s") << '\n';
  return kExitDone;
}

} // namespace

void addRegCommands(CLI::App& app, Runner& runner) {
  CLI::App* reg =
      app.add_subcommand("reg", "Read, change, export and import the suite's registry settings");
  reg->footer(
      "Keys: HKEY_CURRENT_USER\\" + std::string(tsen::kSuiteKey) +
      " with everything below it, and the Kernel Services keys of both layouts below "
      "HKEY_LOCAL_MACHINE. A key may be written in full, as HKCU\\... or HKLM\\..., or below the "
      "product key root of the layout in force (\"Kernel Services\", \"Tessaline modules\").");
  reg->require_subcommand(1);
  const auto arguments = std::make_shared<RegArguments>();
  RegArguments& a = *arguments;
  // Each subcommand runs its action with the arguments and whether NAME was given.
  const auto add = [&](const char* name, const char* description, auto action) {
    CLI::App* command = reg->add_subcommand(name, description);
    runs(command, runner, [arguments, command, action] {
      const CLI::Option* valueName = command->get_option_no_throw("NAME");
      return action(*arguments, valueName != nullptr && valueName->count() > 0);
    });
    return command;
  };

  CLI::App* get = add("get", "Show a value, or a key with everything below it", tsenv::get);
  get->footer("Numbers are shown in decimal, text as it is; without NAME the key is shown in "
              "registry file form.");
  const auto keyAndName = [&](CLI::App* command, const char* keyHelp, bool nameRequired) {
    command->add_option("KEY", a.key, keyHelp)->required();
    command->add_option("NAME", a.name, "the value's name")->required(nameRequired);
  };
  keyAndName(get,
             "HKEY_CURRENT_USER\\..., HKCU\\..., HKLM\\..., or a key below the product key root "
             "such as \"Kernel Services\"",
             false);

  CLI::App* set =
      add("set", "Store a text value (or a number), creating the key when missing", tsenv::set);
  keyAndName(set, "the key, as for get", true);
  set->add_option("VALUE", a.data, "the text, or the number with --dword")->required();
  set->add_flag("--dword", a.dword,
                "store a 32-bit number (REG_DWORD); decimal or 0x... hexadecimal");

  CLI::App* remove =
      add("delete", "Delete a value, or a key with everything below it", tsenv::remove);
  keyAndName(remove, "the key, as for get", false);

  CLI::App* exporting =
      add("export", "Write the suite's settings to a registry file, e.g. for support", exportKeys);
  exporting->footer("All the suite's keys, or the keys given, in UTF-16 as regedit writes them. "
                    "FILE \"-\" writes to standard output, in 8 bits.");
  exporting->add_option("FILE", a.file, "the .reg file to write")->required();
  exporting->add_option("KEY", a.keys, "keys to export instead of all the suite's");

  CLI::App* importing = add("import", "Replay a registry file on the suite's keys", import);
  importing->footer("Sections, values and deletions ([-KEY], \"name\"=-) are applied in order, as "
                    "the registry editor imports them. A file that touches anything but the "
                    "suite's keys is refused as a whole.");
  importing->add_option("FILE", a.file, "the .reg file to read")->required();
}

} // namespace tsenv
