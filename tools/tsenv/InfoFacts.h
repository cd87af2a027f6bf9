// Everything the library answers about this machine, each answer with where
// it came from.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tsenv {

struct Fact {
  std::string key;              // the answer's name in JSON
  std::string label;            // the answer's name for a reader
  nlohmann::ordered_json value; // a string, a number or true/false
  std::string source;           // the registry value, known folder or fallback behind it
  std::optional<bool> exists{}; // for folders and files: whether they exist
  std::string hostPath{};       // for folders and files: as the host writes them
};

struct FactGroup {
  std::string key;
  std::string title;
  std::vector<Fact> facts;
};

// Asks the library every question it answers without arguments.
std::vector<FactGroup> collectFacts();

} // namespace tsenv
