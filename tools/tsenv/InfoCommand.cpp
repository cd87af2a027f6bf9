// info: every answer the library gives, with where it came from.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/InfoOutput.h"

#include <iostream>
#include <memory>

namespace tsenv {

void addInfoCommand(CLI::App& app, Runner& runner) {
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "info", "Show every answer of the library here, each with where it came from");
  command->footer("Registry layout and keys, configuration, language, version, folders (and "
                  "whether they exist), active domain, last command, command log and help "
                  "settings, each with the registry value, known folder or fallback behind it.");
  command->add_flag("--json", *json, "one JSON object, e.g. for a support ticket");
  command->callback([&runner, json] {
    runner = [json] {
      const std::vector<FactGroup> facts = collectFacts();
      if (*json) {
        std::cout << factsAsJson(facts).dump(2, ' ', false,
                                             nlohmann::ordered_json::error_handler_t::replace)
                  << '\n';
      } else {
        std::cout << factsAsText(facts);
      }
      return kExitDone;
    };
  });
}

} // namespace tsenv
