// help and wiki: show help for a topic the way a module asks for it.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/DescribedActions.h"

#include "TsEnvironment.h"

#include <cstdio>
#include <memory>

namespace tsenv {

namespace {

constexpr const char* kDryRunText =
    "print what would be opened (address, or help file and topic) and every message that "
    "would be shown, and open nothing";

// A topic is a whole number: CLI11 alone would read an empty one as 0.
const CLI::Validator kTopic(
    [](std::string& text) {
      return parseInteger(text) ? std::string() : "'" + text + "' is not a topic number";
    },
    "");

// The library's lines and ours must not interleave out of order.
void startHelp(bool dryRun) {
  if (dryRun) {
    describeActions();
  }
  std::fflush(stdout);
}

struct HelpArguments {
  int topic = 0;
  std::string helpName;
  bool dryRun = false;
};

void addHelp(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<HelpArguments>();
  CLI::App* command =
      app.add_subcommand("help", "Show help for a topic of a compiled help file, as a module does");
  command->footer("The wiki page when a topic file maps the topic of HELPNAME, else the "
                  "compiled help file in the user's language, else in English.");
  command->add_option("TOPIC", arguments->topic, "the numeric help topic (0: contents)")
      ->required()
      ->check(kTopic);
  command->add_option("HELPNAME", arguments->helpName, "the help file's name without .chm")
      ->required();
  command->add_flag("--dry-run", arguments->dryRun, kDryRunText);
  command->callback([&runner, arguments] {
    runner = [arguments] {
      startHelp(arguments->dryRun);
      TsEnHelp(arguments->topic, arguments->helpName);
      return kExitDone;
    };
  });
}

struct WikiArguments {
  int topic = 0;
  bool only = false;
  bool dryRun = false;
};

void addWiki(CLI::App& app, Runner& runner) {
  auto arguments = std::make_shared<WikiArguments>();
  CLI::App* command = app.add_subcommand(
      "wiki", "Open the wiki page of a topic (or compiled help, if the settings say so)");
  command->add_option("TOPIC", arguments->topic, "the numeric help topic")
      ->required()
      ->check(kTopic);
  command->add_flag("--only", arguments->only,
                    "always the wiki, whatever \"Use CHM Help\" and the exceptions file say");
  command->add_flag("--dry-run", arguments->dryRun, kDryRunText);
  command->callback([&runner, arguments] {
    runner = [arguments] {
      startHelp(arguments->dryRun);
      if (arguments->only) {
        TsEnWikiHelpOnly(arguments->topic);
      } else {
        TsEnWikiHelp(arguments->topic);
      }
      return kExitDone;
    };
  });
}

} // namespace

void addHelpCommands(CLI::App& app, Runner& runner) {
  addHelp(app, runner);
  addWiki(app, runner);
}

} // namespace tsenv
