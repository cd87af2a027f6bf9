// The info report as aligned text for a reader, or as one JSON object for a
// support ticket.
#pragma once

#include "tools/tsenv/InfoFacts.h"

#include <string>
#include <vector>

namespace tsenv {

std::string factsAsText(const std::vector<FactGroup>& groups);

// {"<group>": {"<fact>": {"value": ..., "source": "...", "exists": ...}}}
nlohmann::ordered_json factsAsJson(const std::vector<FactGroup>& groups);

} // namespace tsenv
