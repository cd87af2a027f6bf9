// The subcommands of tsenv. Each add function registers one family of
// subcommands with the parser; parsing only records which one to run, so
// that nothing is changed before every argument has been checked.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <string>

namespace tsenv {

// The work of the subcommand that was parsed; answers the exit status.
using Runner = std::function<int()>;

// Exit statuses: 0 done (or "yes"), 1 the answer is "no" or the operation
// failed, 2 the command line was wrong and nothing was changed.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNo = 1;
inline constexpr int kExitUsage = 2;

// An argument found wrong after parsing (a registry key outside the suite,
// a file that is no registry file); reported like a parse error.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

void addInfoCommand(CLI::App& app, Runner& runner);
void addPathCommands(CLI::App& app, Runner& runner);
void addSessionCommands(CLI::App& app, Runner& runner);
void addHelpCommands(CLI::App& app, Runner& runner);
void addHelpCheckCommand(CLI::App& app, Runner& runner);
void addRegCommands(CLI::App& app, Runner& runner);
// The subcommands of "reg": get and set; delete, export and import.
void addRegValueCommands(CLI::App& reg, Runner& runner);
void addRegKeyCommands(CLI::App& reg, Runner& runner);

} // namespace tsenv
