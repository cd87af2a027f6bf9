// expand, resource and exists: the library's file name answers.
#include "tools/tsenv/Commands.h"

#include <array>
#include <iostream>
#include <memory>
#include <utility>

namespace tsenv {

namespace {

// "none", "app", "userdata", "resources", "binaries", "autocad", "temp", or
// any integer (the library counts unknown numbers as none).
std::optional<int> parseBaseFolder(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, int>, 7> kNames{{
      {"none", TsEnBaseNone},
      {"app", TsEnBaseAppPath},
      {"userdata", TsEnBaseUserData},
      {"resources", TsEnBaseResources},
      {"binaries", TsEnBaseBinaries},
      {"autocad", TsEnBaseAutoCAD},
      {"temp", TsEnBaseTemp},
  }};
  const auto named = std::ranges::find(kNames, text, &std::pair<std::string_view, int>::first);
  return named != kNames.end() ? std::optional(named->second) : parseInteger(text);
}

// An integer, or names joined by ",": "lang-marker", "lang-subfolder".
std::optional<int> parseExpandFlags(std::string_view text) {
  if (auto number = parseInteger(text)) {
    return number;
  }
  int flags = 0;
  while (!text.empty()) {
    const std::string_view name = text.substr(0, text.find(','));
    if (name != "lang-marker" && name != "lang-subfolder") {
      return std::nullopt;
    }
    flags |= name == "lang-marker" ? TsEnLangAtMarker : TsEnLangSubfolder;
    text.remove_prefix(std::min(text.size(), name.size() + 1));
  }
  return flags;
}

// A CLI11 check that accepts what parse accepts.
template <typename Parse> CLI::Validator acceptedBy(Parse parse, std::string description) {
  return CLI::Validator(
      [parse](std::string& text) {
        return parse(text) ? std::string() : "'" + text + "' is not one of the accepted values";
      },
      std::move(description));
}

void addExpand(CLI::App& app, Runner& runner) {
  auto arguments =
      std::make_shared<std::array<std::string, 3>>(std::array<std::string, 3>{"", "none", "0"});
  auto& [name, base, flags] = *arguments;
  CLI::App* command = app.add_subcommand(
      "expand", "Expand a file name with placeholders such as <APPATH> or <USERDATA>");
  command->add_option("NAME", name, "the name to expand, e.g. \"<APPATH>\\Help\"")->required();
  command
      ->add_option("--base", base,
                   "folder put in front: none, app, userdata, resources, binaries, autocad, "
                   "temp, or the library's number")
      ->check(acceptedBy(parseBaseFolder, "BASE"));
  command
      ->add_option("--flags", flags,
                   "language flags: lang-marker (replace @@ by the language code), "
                   "lang-subfolder (language folder before the last component), comma-separated, "
                   "or the library's number")
      ->check(acceptedBy(parseExpandFlags, "FLAGS"));
  runs(command, runner, [arguments] {
    const auto& [name, base, flags] = *arguments;
    std::cout << shownPath(
                     TsEnBuildFilename(name, *parseBaseFolder(base), *parseExpandFlags(flags)))
              << '\n';
    return kExitDone;
  });
}

void addResource(CLI::App& app, Runner& runner) {
  auto baseName = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "resource", "Find a module's resource library for the current language, else English");
  command->footer("Exit status 1 when neither is installed.");
  command->add_option("BASENAME", *baseName, "the part of the file name before \".RC.\"")
      ->required();
  runs(command, runner, [baseName] {
    const std::string path = TsEnGetResourceName(*baseName);
    if (path.empty()) {
      std::cerr << "no resource library " << *baseName << ".RC." << TsEnGetLanguageCode()
                << ".DLL or " << *baseName << ".RC.Eng.DLL in the Resources folder\n";
      return kExitNo;
    }
    std::cout << shownPath(path) << '\n';
    return kExitDone;
  });
}

void addExists(CLI::App& app, Runner& runner) {
  auto path = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "exists", "Tell whether a file or folder exists (exit status 0) or not (1)");
  command->add_option("PATH", *path, "the file or folder")->required();
  runs(command, runner, [path] {
    const bool exists = TsEnFileExist(*path, false);
    std::cout << (exists ? "exists" : "does not exist") << '\n';
    return exists ? kExitDone : kExitNo;
  });
}

} // namespace

void addPathCommands(CLI::App& app, Runner& runner) {
  addExpand(app, runner);
  addResource(app, runner);
  addExists(app, runner);
}

} // namespace tsenv
