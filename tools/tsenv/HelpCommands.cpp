// help and wiki: show help for a topic the way a module asks for it.
#include "tools/tsenv/Commands.h"

#include <cstdio>
#include <memory>

namespace tsenv {

namespace {

struct HelpArguments {
  int topic = 0;
  std::string helpName;
  bool only = false;
  bool dryRun = false;
};

// A help subcommand: TOPIC, --dry-run, and what to do with them.
CLI::App* addHelpCommand(CLI::App& app, Runner& runner, const std::string& name,
                         const std::string& description, const std::string& topic,
                         const std::shared_ptr<HelpArguments>& arguments,
                         std::function<void(const HelpArguments&)> show) {
  CLI::App* command = app.add_subcommand(name, description);
  // A topic is a decimal whole number: CLI11 alone would read an empty one as
  // 0 and "010" as octal, so the text it converts is the number written anew.
  command->add_option("TOPIC", arguments->topic, topic)
      ->required()
      ->transform(CLI::Validator(
          [](std::string& text) {
            const auto number = parseInteger(text);
            if (!number) {
              return "'" + text + "' is not a topic number";
            }
            text = std::to_string(*number);
            return std::string();
          },
          ""));
  command->add_flag("--dry-run", arguments->dryRun,
                    "print what would be opened (address, or help file and topic) and every "
                    "message that would be shown, and open nothing");
  runs(command, runner, [arguments, show] {
    if (arguments->dryRun) {
      describeActions();
    }
    std::fflush(stdout); // the library's lines and ours in order
    show(*arguments);
    return kExitDone;
  });
  return command;
}

} // namespace

void addHelpCommands(CLI::App& app, Runner& runner) {
  auto help = std::make_shared<HelpArguments>();
  CLI::App* command = addHelpCommand(
      app, runner, "help", "Show help for a topic of a compiled help file, as a module does",
      "the numeric help topic (0: contents)", help,
      [](const HelpArguments& a) { TsEnHelp(a.topic, a.helpName); });
  command->footer("The wiki page when a topic file maps the topic of HELPNAME, else the compiled "
                  "help file in the user's language, else in English.");
  command->add_option("HELPNAME", help->helpName, "the help file's name without .chm")->required();

  auto wiki = std::make_shared<HelpArguments>();
  command =
      addHelpCommand(app, runner, "wiki",
                     "Open the wiki page of a topic (or compiled help, if the settings say so)",
                     "the numeric help topic", wiki, [](const HelpArguments& a) {
                       a.only ? TsEnWikiHelpOnly(a.topic) : TsEnWikiHelp(a.topic);
                     });
  command->add_flag("--only", wiki->only,
                    "always the wiki, whatever \"Use CHM Help\" and the exceptions file say");
}

} // namespace tsenv
