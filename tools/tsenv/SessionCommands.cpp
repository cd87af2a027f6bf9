// domain, last-command and log: the session state the suite's modules share
// and the command log.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/NativePath.h"
#include "tools/tsenv/Settings.h"

#include "TsEnvironment.h"

#include <iostream>
#include <memory>

namespace tsenv {

namespace {

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? std::string("must not be empty") : ""; }, "");

void addDomain(CLI::App& app, Runner& runner) {
  auto domain = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("domain", "Show the active domain, or store a new one");
  command->add_option("NAME", *domain, "the domain to store")->check(kNotEmpty);
  command->callback([&runner, domain, command] {
    const bool store = command->count("NAME") > 0;
    runner = [domain, store] {
      if (!store) {
        std::cout << getActiveTessalineDomain() << '\n';
        return kExitDone;
      }
      if (!setActiveTessalineDomain(*domain)) {
        std::cerr << "the active domain could not be stored below HKEY_CURRENT_USER\\"
                  << modulesKey() << '\n';
        return kExitNo;
      }
      return kExitDone;
    };
  });
}

struct LastCommandArguments {
  std::string command;
  std::string domain;
};

void addLastCommand(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<LastCommandArguments>();
  CLI::App* command =
      app.add_subcommand("last-command", "Show the last command, or store one as a module does");
  command->footer("Storing COMMAND (with DOMAIN, which becomes the active domain) also appends it "
                  "to the command log.");
  command->add_option("COMMAND", arguments->command, "the command to store")->check(kNotEmpty);
  command->add_option("DOMAIN", arguments->domain, "the domain to store with it")->check(kNotEmpty);
  command->callback([&runner, arguments, command] {
    const std::size_t given = command->count("COMMAND") + command->count("DOMAIN");
    runner = [arguments, given] {
      if (given == 0) {
        std::cout << getLastTessalineCommand() << '\n';
        return kExitDone;
      }
      const bool stored = given == 1
                              ? setLastTessalineCommand(arguments->command)
                              : setLastTessalineCommand(arguments->command, arguments->domain);
      if (!stored) {
        std::cerr << "the last command could not be stored below HKEY_CURRENT_USER\\"
                  << modulesKey() << '\n';
        return kExitNo;
      }
      return kExitDone;
    };
  });
}

struct LogArguments {
  std::string command;
  std::string domain;
  std::string info;
};

void addLog(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<LogArguments>();
  CLI::App* command =
      app.add_subcommand("log", "Append a line to the command log as a module does");
  command->footer("DOMAIN \"*\" stands for the active domain. Tells which file the line went to.");
  command->add_option("COMMAND", arguments->command, "the command")->required();
  command->add_option("DOMAIN", arguments->domain, "the domain, \"*\" for the active one")
      ->required();
  command->add_option("INFO", arguments->info, "free information text")->required();
  command->callback([&runner, arguments] {
    runner = [arguments] {
      const LogSwitch logSwitch = readLogSwitch();
      LogCommandInfo(arguments->command, arguments->domain, arguments->info);
      if (!logSwitch.on) {
        std::cout << "not logged: logging is off (" << TsEnRegValueLogCommands << " = "
                  << *logSwitch.stored << ")\n";
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
    };
  });
}

} // namespace

void addSessionCommands(CLI::App& app, Runner& runner) {
  addDomain(app, runner);
  addLastCommand(app, runner);
  addLog(app, runner);
}

} // namespace tsenv
