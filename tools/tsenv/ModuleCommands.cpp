// What a module asks of the library, asked the same way: file names, the
// session state and command log the modules share, and help for a topic.
#include "tools/tsenv/Commands.h"

#include "platform/Platform.h"
#include "session/ModulesKey.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <utility>

namespace tsenv {
namespace {

// A folder's name, in the order of the library's numbers from TsEnBaseNone
// to TsEnBaseTemp, or any integer (the library counts unknown numbers as none).
std::optional<int> parseBaseFolder(std::string_view text) {
  constexpr std::string_view kNames[] = {"none",     "app",     "userdata", "resources",
                                         "binaries", "autocad", "temp"};
  static_assert(std::size(kNames) == TsEnBaseTemp + 1);
  const auto named = std::ranges::find(kNames, text);
  return named != std::end(kNames) ? std::optional(static_cast<int>(named - kNames))
                                   : parseInteger(text);
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

template <typename Parse> CLI::Validator acceptedBy(Parse parse, std::string description) {
  return CLI::Validator(
      [parse](std::string& text) {
        return parse(text) ? std::string() : "'" + text + "' is not one of the accepted values";
      },
      std::move(description));
}

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? std::string("must not be empty") : ""; }, "");

int stored(bool done, const char* what) {
  if (!done) {
    std::cerr << what << " could not be stored below HKEY_CURRENT_USER\\" << tsen::modulesKey()
              << '\n';
  }
  return done ? kExitDone : kExitNo;
}

// What the module commands were given; one subcommand runs, so they share it.
struct ModuleArguments {
  std::string name;
  std::string base = "none";
  std::string flags = "0";
  std::string domain;
  std::string info;
  int topic = 0;
  bool only = false;
  bool dryRun = false;
};

} // namespace

void addModuleCommands(CLI::App& app, Runner& runner) {
  const auto a = std::make_shared<ModuleArguments>();
  CLI::App* command = app.add_subcommand(
      "expand", "Expand a file name with placeholders such as <APPATH> or <USERDATA>");
  command->add_option("NAME", a->name, "the name to expand, e.g. \"<APPATH>\\Help\"")->required();
  command
      ->add_option("--base", a->base,
                   "folder put in front: none, app, userdata, resources, binaries, autocad, "
                   "temp, or the library's number")
      ->check(acceptedBy(parseBaseFolder, "BASE"));
  command
      ->add_option("--flags", a->flags,
                   "language flags: lang-marker (replace @@ by the language code), "
                   "lang-subfolder (language folder before the last component), comma-separated, "
                   "or the library's number")
      ->check(acceptedBy(parseExpandFlags, "FLAGS"));
  runs(command, runner, [a] {
    std::cout << shownPath(TsEnBuildFilename(a->name, *parseBaseFolder(a->base),
                                             *parseExpandFlags(a->flags)))
              << '\n';
    return kExitDone;
  });

  command = app.add_subcommand(
      "resource", "Find a module's resource library for the current language, else English");
  command->footer("Exit status 1 when neither is installed.");
  command->add_option("BASENAME", a->name, "the part of the file name before \".RC.\"")->required();
  runs(command, runner, [a] {
    const std::string path = TsEnGetResourceName(a->name);
    if (path.empty()) {
      std::cerr << "no resource library " << a->name << ".RC." << TsEnGetLanguageCode()
                << ".DLL or " << a->name << ".RC.Eng.DLL in the Resources folder\n";
      return kExitNo;
    }
    std::cout << shownPath(path) << '\n';
    return kExitDone;
  });

  command = app.add_subcommand("exists",
                               "Tell whether a file or folder exists (exit status 0) or not (1)");
  command->add_option("PATH", a->name, "the file or folder")->required();
  runs(command, runner, [a] {
    const bool exists = TsEnFileExist(a->name, false);
    std::cout << (exists ? "exists" : "does not exist") << '\n';
    return exists ? kExitDone : kExitNo;
  });

  command = app.add_subcommand("domain", "Show the active domain, or store a new one");
  command->add_option("NAME", a->domain, "the domain to store")->check(kNotEmpty);
  runs(command, runner, [a, command] {
    if (command->count("NAME") == 0) {
      std::cout << getActiveTessalineDomain() << '\n';
      return kExitDone;
    }
    return stored(setActiveTessalineDomain(a->domain), "the active domain");
  });

  command =
      app.add_subcommand("last-command", "Show the last command, or store one as a module does");
  command->footer("Storing COMMAND (with DOMAIN, which becomes the active domain) also appends it "
                  "to the command log.");
  command->add_option("COMMAND", a->name, "the command to store")->check(kNotEmpty);
  command->add_option("DOMAIN", a->domain, "the domain to store with it")->check(kNotEmpty);
  runs(command, runner, [a, command] {
    if (command->count("COMMAND") == 0) {
      std::cout << getLastTessalineCommand() << '\n';
      return kExitDone;
    }
    return stored(command->count("DOMAIN") == 0 ? setLastTessalineCommand(a->name)
                                                : setLastTessalineCommand(a->name, a->domain),
                  "the last command");
  });

  command = app.add_subcommand("log", "Append a line to the command log as a module does");
  command->footer("DOMAIN \"*\" stands for the active domain. Tells which file the line went to.");
  command->add_option("COMMAND", a->name, "the command")->required();
  command->add_option("DOMAIN", a->domain, "the domain, \"*\" for the active one")->required();
  command->add_option("INFO", a->info, "free information text")->required();
  runs(command, runner, [a] {
    const bool on = tsen::loggingIsOn();
    const auto switchValue = readSetting<TsEnLong>(tsen::platform::kCurrentUser, tsen::modulesKey(),
                                                   TsEnRegValueLogCommands);
    LogCommandInfo(a->name, a->domain, a->info);
    if (!on) {
      std::cout << "not logged: logging is off (" << TsEnRegValueLogCommands << " = "
                << switchValue.value_or(0) << ")\n";
      return kExitDone;
    }
    const std::string file = TsEnBuildFilename(tsen::kCommandLogFile, TsEnBaseNone, 0);
    if (!TsEnFileExist(file, false)) {
      std::cerr << "not logged: " << shownPath(file)
                << " cannot be written (does its folder exist?)\n";
      return kExitNo;
    }
    std::cout << "logged to " << shownPath(file) << '\n';
    return kExitDone;
  });

  // help and wiki: TOPIC, --dry-run, and what to do with them.
  const auto addHelpCommand = [&](const char* name, const char* description, const char* topic,
                                  void (*show)(const ModuleArguments&)) {
    command = app.add_subcommand(name, description);
    // A topic is a decimal whole number: CLI11 alone would read an empty one as
    // 0 and "010" as octal, so the text it converts is the number written anew.
    command->add_option("TOPIC", a->topic, topic)
        ->required()
        ->transform(CLI::Validator(
            [](std::string& text) {
              const auto number = parseInteger(text);
              text = number ? std::to_string(*number) : text;
              return number ? std::string() : "'" + text + "' is not a topic number";
            },
            ""));
    command->add_flag("--dry-run", a->dryRun,
                      "print what would be opened (address, or help file and topic) and every "
                      "message that would be shown, and open nothing");
    runs(command, runner, [a, show] {
      if (a->dryRun) {
        describeActions();
      }
      std::fflush(stdout); // the library's lines and ours in order
      show(*a);
      return kExitDone;
    });
  };
  addHelpCommand("help", "Show help for a topic of a compiled help file, as a module does",
                 "the numeric help topic (0: contents)",
                 [](const ModuleArguments& a) { TsEnHelp(a.topic, a.name); });
  command->footer("The wiki page when a topic file maps the topic of HELPNAME, else the compiled "
                  "help file in the user's language, else in English.");
  command->add_option("HELPNAME", a->name, "the help file's name without .chm")->required();

  addHelpCommand("wiki", "Open the wiki page of a topic (or compiled help, if the settings say so)",
                 "the numeric help topic", [](const ModuleArguments& a) {
                   a.only ? TsEnWikiHelpOnly(a.topic) : TsEnWikiHelp(a.topic);
                 });
  command->add_flag("--only", a->only,
                    "always the wiki, whatever \"Use CHM Help\" and the exceptions file say");
}

} // namespace tsenv
