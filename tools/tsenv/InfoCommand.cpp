// info: every answer the library gives, with where it came from.
#include "tools/tsenv/Commands.h"
#include "tools/tsenv/InfoFacts.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>

namespace tsenv {
namespace {

std::string shownValue(const nlohmann::ordered_json& value) {
  if (value.is_boolean()) {
    return value.get<bool>() ? "on" : "off";
  }
  if (value.is_string()) {
    const auto& text = value.get_ref<const std::string&>();
    return text.empty() ? "(empty)" : text;
  }
  return value.dump();
}

std::size_t labelWidth(const std::vector<FactGroup>& groups) {
  std::size_t width = 0;
  for (const FactGroup& group : groups) {
    for (const Fact& fact : group.facts) {
      width = std::max(width, fact.label.size());
    }
  }
  return width;
}

// The report as aligned text for a reader.
std::string factsAsText(const std::vector<FactGroup>& groups) {
  const std::size_t width = labelWidth(groups) + 2;
  const std::string indent(2 + width, ' ');
  std::string text;
  for (const FactGroup& group : groups) {
    text += group.title + '\n';
    for (auto fact = group.facts.begin(); fact != group.facts.end(); ++fact) {
      text += "  " + fact->label + std::string(width - fact->label.size(), ' ') +
              (fact->hostPath.empty() ? shownValue(fact->value) : fact->hostPath);
      if (fact->exists) {
        text += *fact->exists ? "  [exists]" : "  [missing]";
      }
      text += '\n';
      // Answers from one source in a row name it once, below the last.
      const auto next = std::next(fact);
      if (next == group.facts.end() || next->source != fact->source) {
        text += indent + "from: " + fact->source + '\n';
      }
    }
    text += '\n';
  }
  return text;
}

// {"<group>": {"<fact>": {"value": ..., "source": "...", "exists": ..., "host_path": ...}}},
// e.g. for a support ticket.
nlohmann::ordered_json factsAsJson(const std::vector<FactGroup>& groups) {
  nlohmann::ordered_json report = nlohmann::ordered_json::object();
  for (const FactGroup& group : groups) {
    nlohmann::ordered_json& entries = report[group.key] = nlohmann::ordered_json::object();
    for (const Fact& fact : group.facts) {
      nlohmann::ordered_json& entry =
          entries[fact.key] = {{"value", fact.value}, {"source", fact.source}};
      if (fact.exists) {
        entry["exists"] = *fact.exists;
        entry["host_path"] = fact.hostPath;
      }
    }
  }
  return report;
}

} // namespace

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
