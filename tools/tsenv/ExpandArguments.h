// The base folder and flag arguments of "tsenv expand", given as the
// library's numbers or by name.
#pragma once

#include <optional>
#include <string_view>

namespace tsenv {

// "none", "app", "userdata", "resources", "binaries", "autocad", "temp", or
// any integer (the library counts unknown numbers as none).
std::optional<int> parseBaseFolder(std::string_view text);

// An integer, or names joined by ",": "lang-marker", "lang-subfolder".
std::optional<int> parseExpandFlags(std::string_view text);

} // namespace tsenv
