// reg: the suite's registry settings; here delete, export and import: whole
// keys, listed and deleted through SuiteRegistry, and registry files for support.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/RegFile.h"
#include "tools/tsenv/SuiteRegistry.h"

#include "platform/portable/TextEncoding.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

namespace tsenv {

namespace {

std::string readWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot read " + path);
  }
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct DeleteArguments {
  std::string key;
  std::string name;
};

void addDelete(CLI::App& reg, Runner& runner) {
  auto arguments = std::make_shared<DeleteArguments>();
  CLI::App* command =
      reg.add_subcommand("delete", "Delete a value, or a key with everything below it");
  command->add_option("KEY", arguments->key, "the key, as for get")->required();
  command->add_option("NAME", arguments->name, "the value's name");
  command->callback([&runner, arguments, command] {
    const bool oneValue = command->count("NAME") > 0;
    runner = [arguments, oneValue] {
      const RegKeyName key = parseSuiteKeyName(arguments->key);
      const RegChange change{oneValue ? RegChange::Kind::deleteValue : RegChange::Kind::deleteKey,
                             key,
                             arguments->name,
                             {}};
      if (!openSuiteRegistry()->apply({change})) {
        std::cerr << "nothing deleted: no "
                  << (oneValue ? "value \"" + arguments->name + "\" in " : std::string("key "))
                  << key.text() << '\n';
        return kExitNo;
      }
      return kExitDone;
    };
  });
}

struct FileArguments {
  std::string file;
  std::vector<std::string> keys;
};

void addExport(CLI::App& reg, Runner& runner) {
  auto arguments = std::make_shared<FileArguments>();
  CLI::App* command = reg.add_subcommand(
      "export", "Write the suite's settings to a registry file, e.g. for support");
  command->footer("All the suite's keys, or the keys given, in UTF-16 as regedit writes them. "
                  "FILE \"-\" writes to standard output, in 8 bits.");
  command->add_option("FILE", arguments->file, "the .reg file to write")->required();
  command->add_option("KEY", arguments->keys, "keys to export instead of all the suite's");
  command->callback([&runner, arguments] {
    runner = [arguments] {
      std::vector<RegKeyName> keys;
      for (const std::string& key : arguments->keys) {
        keys.push_back(parseSuiteKeyName(key));
      }
      if (keys.empty()) {
        keys = suiteKeys();
      }
      const std::string text = registryFileText(copyKeys(*openSuiteRegistry(), keys), keys);
      if (arguments->file == "-") {
        printRegistryText(text);
        return kExitDone;
      }
      // As regedit writes it: UTF-16LE with its byte order mark, lines ending in CR LF.
      using namespace tsen::platform::portable;
      std::ofstream file(arguments->file, std::ios::binary | std::ios::trunc);
      if (!(file << byteOrderMark(FileEncoding::utf16Le) << toUtf16LeBytes(text)) ||
          !file.flush()) {
        std::cerr << "cannot write " << arguments->file << '\n';
        return kExitNo;
      }
      std::cout << "wrote " << arguments->file << '\n';
      return kExitDone;
    };
  });
}

void addImport(CLI::App& reg, Runner& runner) {
  auto arguments = std::make_shared<FileArguments>();
  CLI::App* command = reg.add_subcommand("import", "Replay a registry file on the suite's keys");
  command->footer("Sections, values and deletions ([-KEY], \"name\"=-) are applied in order, as "
                  "the registry editor imports them. A file that touches anything but the "
                  "suite's keys is refused as a whole.");
  command->add_option("FILE", arguments->file, "the .reg file to read")->required();
  command->callback([&runner, arguments] {
    runner = [arguments] {
      const std::string bytes = readWholeFile(arguments->file);
      const std::unique_ptr<SuiteRegistry> registry = openSuiteRegistry();
      const std::vector<RegChange> changes = planImport(arguments->file, bytes, *registry);
      if (!registry->apply(changes)) {
        std::cerr << "the import failed: the registry could not be written\n";
        return kExitNo;
      }
      std::cout << "imported " << arguments->file << ": " << changes.size() << " change"
                << (changes.size() == 1 ? "" : "s") << '\n';
      return kExitDone;
    };
  });
}

} // namespace

void addRegCommands(CLI::App& app, Runner& runner) {
  CLI::App* reg =
      app.add_subcommand("reg", "Read, change, export and import the suite's registry settings");
  reg->footer("Keys: HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline with everything below "
              "it, and the Kernel Services keys of both layouts below HKEY_LOCAL_MACHINE. A key "
              "may be written in full, as HKCU\\... or HKLM\\..., or below the product key "
              "root of the layout in force (\"Kernel Services\", \"Tessaline modules\").");
  reg->require_subcommand(1);
  addRegValueCommands(*reg, runner);
  addDelete(*reg, runner);
  addExport(*reg, runner);
  addImport(*reg, runner);
}

} // namespace tsenv
