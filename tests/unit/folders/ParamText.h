// How a table row's text shows in a test's name.
#pragma once

#include <optional>
#include <string>

namespace tsen::testing {

// Long texts by their length, to keep test names readable.
inline std::string shown(const std::optional<std::string>& text) {
  if (!text) {
    return "(none)";
  }
  return text->size() > 60 ? std::to_string(text->size()) + " characters" : '"' + *text + '"';
}

} // namespace tsen::testing
