// reg get and reg set: single values, through the library's own accessor.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/RegFile.h"
#include "tools/tsenv/SuiteRegistry.h"

#include "TsEnvironment.h"

#include "platform/Platform.h"

#include <charconv>
#include <cstdint>
#include <iostream>
#include <memory>

namespace tsenv {

namespace {

namespace platform = tsen::platform;

HKEY accessorRoot(RegistryRoot root) {
  return root == RegistryRoot::localMachine ? platform::kLocalMachine : platform::kCurrentUser;
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
  const std::uint64_t limit = negative ? 0x80000000u : 0xFFFFFFFFu;
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
      magnitude > limit) {
    throw UsageError("'" + text + "' is not a 32-bit number");
  }
  const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
  return static_cast<TsEnLong>(static_cast<std::int32_t>(bits));
}

// The value through the library's accessor: numbers as numbers, text as
// text; other types as a registry file spells them.
int printValue(const RegKeyName& key, const std::string& valueName, const RegistryValue& value) {
  TsEnWinRegistry registry;
  if (!registry.OpenKey(accessorRoot(key.root), key.relativePath(), false)) {
    return kExitNo;
  }
  if (value.type == platform::kRegDword) {
    TsEnLong number = 0;
    if (!registry.ReadLong(valueName, number)) {
      return kExitNo;
    }
    std::cout << number << '\n';
    return kExitDone;
  }
  if (value.type == platform::kRegSz || value.type == platform::kRegExpandSz) {
    std::string text;
    if (!registry.ReadString(valueName, text)) {
      return kExitNo;
    }
    std::cout << text << '\n';
    return kExitDone;
  }
  for (const std::string& line :
       tsen::platform::portable::formatAssignment(valueName, value, RegFileDialect::version5)) {
    std::cout << line << '\n';
  }
  return kExitDone;
}

struct ValueArguments {
  std::string key;
  std::string name;
  std::string data;
  bool dword = false;
};

void addGet(CLI::App& reg, Runner& runner) {
  auto arguments = std::make_shared<ValueArguments>();
  CLI::App* command = reg.add_subcommand("get", "Show a value, or a key with everything below it");
  command->footer("Numbers are shown in decimal, text as it is; without NAME the key is shown "
                  "in registry file form.");
  command
      ->add_option("KEY", arguments->key,
                   "HKEY_CURRENT_USER\\..., HKCU\\..., HKLM\\..., or a key below the product "
                   "key root such as \"Kernel Services\"")
      ->required();
  command->add_option("NAME", arguments->name, "the value's name");
  command->callback([&runner, arguments, command] {
    const bool oneValue = command->count("NAME") > 0;
    runner = [arguments, oneValue] {
      const RegKeyName key = parseSuiteKeyName(arguments->key);
      RegistryTree tree;
      if (!openSuiteRegistry()->copyKey(key, tree)) {
        std::cerr << "no key " << key.text() << '\n';
        return kExitNo;
      }
      if (!oneValue) {
        printRegistryText(registrySections(tree, {key}));
        return kExitDone;
      }
      const RegistryValue* value = tree.find(key.root, key.path)->value(arguments->name);
      if (value == nullptr) {
        std::cerr << "no value \"" << arguments->name << "\" in " << key.text() << '\n';
        return kExitNo;
      }
      return printValue(key, arguments->name, *value);
    };
  });
}

void addSet(CLI::App& reg, Runner& runner) {
  auto arguments = std::make_shared<ValueArguments>();
  CLI::App* command =
      reg.add_subcommand("set", "Store a text value (or a number), creating the key when missing");
  command->add_option("KEY", arguments->key, "the key, as for get")->required();
  command->add_option("NAME", arguments->name, "the value's name")->required();
  command->add_option("VALUE", arguments->data, "the text, or the number with --dword")->required();
  command->add_flag("--dword", arguments->dword,
                    "store a 32-bit number (REG_DWORD); decimal or 0x... hexadecimal");
  command->callback([&runner, arguments] {
    runner = [arguments] {
      const RegKeyName key = parseSuiteKeyName(arguments->key);
      const TsEnLong number = arguments->dword ? parseNumber(arguments->data) : 0;
      TsEnWinRegistry registry;
      const bool written =
          registry.OpenKey(accessorRoot(key.root), key.relativePath(), true) &&
          (arguments->dword ? registry.WriteLong(arguments->name, number)
                            : registry.WriteString(arguments->name, arguments->data));
      if (!written) {
        std::cerr << "could not write \"" << arguments->name << "\" in " << key.text() << '\n';
        return kExitNo;
      }
      return kExitDone;
    };
  });
}

} // namespace

void addRegValueCommands(CLI::App& reg, Runner& runner) {
  addGet(reg, runner);
  addSet(reg, runner);
}

} // namespace tsenv
