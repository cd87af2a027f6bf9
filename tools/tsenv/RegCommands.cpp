// reg: the suite's registry settings. Single values are read and written
// through the library's own accessor; whole keys are copied and deleted
// through the platform layer, and written to and read from registry files.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/RegKeys.h"

#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "platform/common/RegValueText.h"
#include "platform/common/TextEncoding.h"
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

// The value through the library's accessor: numbers as numbers, text as
// text; other types as a registry file spells them.
int printValue(const KeyLocation& key, const std::string& name, const RegistryValue& value) {
  TsEnWinRegistry registry;
  TsEnLong number = 0;
  std::string text;
  if (!registry.OpenKey(platform::rootKey(key.root), relativePath(key), false)) {
    return kExitNo;
  }
  if (value.type == platform::kRegDword) {
    return registry.ReadLong(name, number) && std::cout << number << '\n' ? kExitDone : kExitNo;
  }
  if (value.type == platform::kRegSz || value.type == platform::kRegExpandSz) {
    return registry.ReadString(name, text) && std::cout << text << '\n' ? kExitDone : kExitNo;
  }
  for (const std::string& line :
       platform::formatAssignment(name, value, platform::RegFileDialect::version5)) {
    std::cout << line << '\n';
  }
  return kExitDone;
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
  const RegistryValue* value = found->value(arguments.name);
  if (value == nullptr) {
    std::cerr << "no value \"" << arguments.name << "\" in " << nameOf(key) << '\n';
    return kExitNo;
  }
  return printValue(key, arguments.name, *value);
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
  using Kind = RegChange::Kind;
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
  for (const std::string& key : arguments.keys) {
    keys.push_back(parseSuiteKeyName(key));
  }
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

int import(const RegArguments& arguments, bool) {
  std::ifstream file(arguments.file, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot read " + arguments.file);
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::vector<RegChange> changes = planImport(arguments.file, bytes);
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
  reg->footer("Keys: HKEY_CURRENT_USER\\" + std::string(tsen::kSuiteKey) +
              " with everything below it, and the Kernel Services keys of both layouts below "
              "HKEY_LOCAL_MACHINE. A key "
              "may be written in full, as HKCU\\... or HKLM\\..., or below the product key "
              "root of the layout in force (\"Kernel Services\", \"Tessaline modules\").");
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
  get->add_option("KEY", a.key,
                  "HKEY_CURRENT_USER\\..., HKCU\\..., HKLM\\..., or a key below the product "
                  "key root such as \"Kernel Services\"")
      ->required();
  get->add_option("NAME", a.name, "the value's name");

  CLI::App* set =
      add("set", "Store a text value (or a number), creating the key when missing", tsenv::set);
  set->add_option("KEY", a.key, "the key, as for get")->required();
  set->add_option("NAME", a.name, "the value's name")->required();
  set->add_option("VALUE", a.data, "the text, or the number with --dword")->required();
  set->add_flag("--dword", a.dword,
                "store a 32-bit number (REG_DWORD); decimal or 0x... hexadecimal");

  CLI::App* remove =
      add("delete", "Delete a value, or a key with everything below it", tsenv::remove);
  remove->add_option("KEY", a.key, "the key, as for get")->required();
  remove->add_option("NAME", a.name, "the value's name");

  CLI::App* exporting =
      add("export", "Write the suite's settings to a registry file, e.g. for support", exportKeys);
  exporting->footer("All the suite's keys, or the keys given, in UTF-16 as regedit writes them. "
                    "FILE \"-\" writes to standard output, in 8 bits.");
  exporting->add_option("FILE", a.file, "the .reg file to write")->required();
  exporting->add_option("KEY", a.keys, "keys to export instead of all the suite's");

  CLI::App* importing = add("import", "Replay a registry file on the suite's keys", import);
  importing->footer("Sections, values and deletions ([-KEY], \"name\"=-) are applied in order, "
                    "as the registry editor imports them. A file that touches anything but the "
                    "suite's keys is refused as a whole.");
  importing->add_option("FILE", a.file, "the .reg file to read")->required();
}

} // namespace tsenv
