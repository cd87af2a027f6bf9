// tsenv: what the Tessaline environment library answers on this machine, and
// the means to change the settings and files behind those answers.
#include "tools/tsenv/Commands.h"

#include <exception>
#include <iostream>

namespace {

// CLI11's messages may span lines; the user gets one.
int fail(std::string message, int status = tsenv::kExitUsage) {
  std::ranges::replace_if(
      message, [](char c) { return c == '\n' || c == '\r'; }, ' ');
  message.erase(message.find_last_not_of(' ') + 1);
  std::cerr << "tsenv: " << message << (status == tsenv::kExitUsage ? " (see tsenv --help)" : "")
            << '\n';
  return status;
}

} // namespace

int main(int argc, char** argv) {
  CLI::App app{"tsenv: what the Tessaline environment library answers on this machine, and "
               "the settings behind it.",
               "tsenv"};
  app.footer("Exit status: 0 done, 1 the answer is no or the operation failed, 2 wrong "
             "command line (nothing was changed). Each subcommand takes --help.");
  app.require_subcommand(1);
  // Values may begin with '/' (paths, registry data); CLI11 would take them
  // for options on Windows only. Set before the subcommands, which inherit it.
  app.allow_windows_style_options(false);

  tsenv::Runner runner;
  for (const auto add : {tsenv::addInfoCommand, tsenv::addModuleCommands,
                         tsenv::addHelpCheckCommand, tsenv::addRegCommands}) {
    add(app, runner);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& help) {
    return app.exit(help); // --help, --help-all: printed, exit status 0
  } catch (const CLI::ParseError& error) {
    // A mistyped subcommand is left over rather than reported by name.
    const CLI::App* parsed = &app;
    while (!parsed->get_subcommands().empty()) {
      parsed = parsed->get_subcommands().front();
    }
    if (parsed->get_require_subcommand_min() > 0 && !parsed->remaining().empty()) {
      return fail("unknown subcommand '" + parsed->remaining().front() + "'");
    }
    return fail(error.what());
  }
  try {
    return runner ? runner() : tsenv::kExitUsage;
  } catch (const tsenv::UsageError& error) {
    return fail(error.what());
  } catch (const std::exception& error) {
    return fail(error.what(), tsenv::kExitNo);
  }
}
