// help-check: the installed help configuration, read as the library reads it.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/HelpCheck.h"

#include <iostream>

namespace tsenv {

void addHelpCheckCommand(CLI::App& app, Runner& runner) {
  CLI::App* command =
      app.add_subcommand("help-check", "Check the installed help configuration files");
  command->footer(
      "Reads the exceptions, defaults and language mapping files and every topic file below "
      "Help\\WikiCfg as the library does, and reports malformed lines (file:line), keys and "
      "topics defined twice (and which one wins), domain folders that no configuration line "
      "names, and compiled help files that are named but not installed. Exit status 1 when a "
      "problem is found; notes alone leave it 0.");
  command->callback([&runner] {
    runner = [] {
      const HelpInstallation installation = HelpInstallation::fromLibrary();
      std::cout << "Help folder: " << installation.helpFolder << '\n';
      int problems = 0;
      int notes = 0;
      for (const Finding& finding : checkHelp(installation)) {
        const bool problem = finding.severity == Finding::Severity::problem;
        (problem ? problems : notes) += 1;
        std::cout << finding.where << ": " << (problem ? "" : "note: ") << finding.what << '\n';
      }
      std::cout << problems << (problems == 1 ? " problem, " : " problems, ") << notes
                << (notes == 1 ? " note" : " notes") << '\n';
      return problems == 0 ? kExitDone : kExitNo;
    };
  });
}

} // namespace tsenv
