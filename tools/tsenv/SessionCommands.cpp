// domain, last-command and log: the session state the suite's modules share
// and the command log.
#include "tools/tsenv/Commands.h"

#include "platform/Platform.h"
#include "session/ModulesKey.h"

#include <array>
#include <iostream>
#include <memory>

namespace tsenv {

namespace {

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? std::string("must not be empty") : ""; }, "");

int stored(bool done, const char* what) {
  if (!done) {
    std::cerr << what << " could not be stored below HKEY_CURRENT_USER\\" << tsen::modulesKey()
              << '\n';
  }
  return done ? kExitDone : kExitNo;
}

void addDomain(CLI::App& app, Runner& runner) {
  auto domain = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("domain", "Show the active domain, or store a new one");
  command->add_option("NAME", *domain, "the domain to store")->check(kNotEmpty);
  runs(command, runner, [domain, command] {
    if (command->count("NAME") == 0) {
      std::cout << getActiveTessalineDomain() << '\n';
      return kExitDone;
    }
    return stored(setActiveTessalineDomain(*domain), "the active domain");
  });
}

void addLastCommand(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<std::pair<std::string, std::string>>();
  CLI::App* command =
      app.add_subcommand("last-command", "Show the last command, or store one as a module does");
  command->footer("Storing COMMAND (with DOMAIN, which becomes the active domain) also appends it "
                  "to the command log.");
  command->add_option("COMMAND", arguments->first, "the command to store")->check(kNotEmpty);
  command->add_option("DOMAIN", arguments->second, "the domain to store with it")->check(kNotEmpty);
  runs(command, runner, [arguments, command] {
    const auto& [name, domain] = *arguments;
    if (command->count("COMMAND") == 0) {
      std::cout << getLastTessalineCommand() << '\n';
      return kExitDone;
    }
    return stored(command->count("DOMAIN") == 0 ? setLastTessalineCommand(name)
                                                : setLastTessalineCommand(name, domain),
                  "the last command");
  });
}

void addLog(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<std::array<std::string, 3>>();
  CLI::App* command =
      app.add_subcommand("log", "Append a line to the command log as a module does");
  command->footer("DOMAIN \"*\" stands for the active domain. Tells which file the line went to.");
  command->add_option("COMMAND", (*arguments)[0], "the command")->required();
  command->add_option("DOMAIN", (*arguments)[1], "the domain, \"*\" for the active one")
      ->required();
  command->add_option("INFO", (*arguments)[2], "free information text")->required();
  runs(command, runner, [arguments] {
    const auto& [name, domain, info] = *arguments;
    const bool on = tsen::loggingIsOn();
    const auto switchValue = readSetting<TsEnLong>(tsen::platform::kCurrentUser, tsen::modulesKey(),
                                                   TsEnRegValueLogCommands);
    LogCommandInfo(name, domain, info);
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
}

} // namespace

void addSessionCommands(CLI::App& app, Runner& runner) {
  addDomain(app, runner);
  addLastCommand(app, runner);
  addLog(app, runner);
}

} // namespace tsenv
