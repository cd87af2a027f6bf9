#include "tools/tsenv/InfoOutput.h"

#include <algorithm>
#include <iterator>

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

} // namespace

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

} // namespace tsenv
