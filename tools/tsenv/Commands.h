// The subcommands of tsenv. Each add function registers one family of
// subcommands with the parser; parsing only records which one to run, so
// that nothing is changed before every argument has been checked.
#pragma once

#include "TsEnvironment.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace tsenv {

// The work of the subcommand that was parsed; answers the exit status.
using Runner = std::function<int()>;

// Exit statuses: 0 done (or "yes"), 1 the answer is "no" or the operation
// failed, 2 the command line was wrong and nothing was changed.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNo = 1;
inline constexpr int kExitUsage = 2;

// An argument found wrong after parsing; reported like a parse error.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Makes work the runner when command is the subcommand parsed.
inline void runs(CLI::App* command, Runner& runner, Runner work) {
  command->callback([&runner, work = std::move(work)] { runner = work; });
}

// A whole decimal number and nothing else ("", "12x", out of range: nothing).
inline std::optional<int> parseInteger(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc{} && end == text.data() + text.size() ? std::optional(number)
                                                                  : std::nullopt;
}

// The library names files with backslashes on every system; the tool opens
// them, and shows them to a person, as the host writes them.
inline std::string shownPath(std::string libraryPath) {
#if !defined(_WIN32)
  std::ranges::replace(libraryPath, '\\', '/');
#endif
  return libraryPath;
}

// A registry value (TsEnLong or std::string) read through the library's
// accessor; nothing when it cannot be read.
template <class Value>
std::optional<Value> readSetting(HKEY root, const std::string& key, const std::string& name) {
  TsEnWinRegistry registry;
  Value value{};
  bool read = registry.OpenKey(root, key, false);
  if constexpr (std::is_same_v<Value, TsEnLong>) {
    read = read && registry.ReadLong(name, value);
  } else {
    read = read && registry.ReadString(name, value);
  }
  return read ? std::optional(value) : std::nullopt;
}

// From now on the library's message boxes, addresses and compiled help are
// taken as done and only described ("message box: CAPTION: TEXT", "open address:
// ADDRESS", "open help: FILE COMMAND DATA"): joined by " | " into into, or printed.
void describeActions(std::string* into = nullptr);

void addInfoCommand(CLI::App& app, Runner& runner);
void addModuleCommands(CLI::App& app, Runner& runner);
void addHelpCheckCommand(CLI::App& app, Runner& runner);
void addRegCommands(CLI::App& app, Runner& runner);

} // namespace tsenv
