#include "tools/tsenv/ExpandArguments.h"

#include "TsEnvironment.h"

#include <array>
#include <charconv>
#include <utility>

namespace tsenv {

namespace {

std::optional<int> parseInteger(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return number;
}

} // namespace

std::optional<int> parseBaseFolder(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, int>, 7> kNames{{
      {"none", TsEnBaseNone},
      {"app", TsEnBaseAppPath},
      {"userdata", TsEnBaseUserData},
      {"resources", TsEnBaseResources},
      {"binaries", TsEnBaseBinaries},
      {"autocad", TsEnBaseAutoCAD},
      {"temp", TsEnBaseTemp},
  }};
  for (const auto& [name, value] : kNames) {
    if (text == name) {
      return value;
    }
  }
  return parseInteger(text);
}

std::optional<int> parseExpandFlags(std::string_view text) {
  if (auto number = parseInteger(text)) {
    return number;
  }
  int flags = 0;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    if (name == "lang-marker") {
      flags |= TsEnLangAtMarker;
    } else if (name == "lang-subfolder") {
      flags |= TsEnLangSubfolder;
    } else {
      return std::nullopt;
    }
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
  }
  return flags;
}

} // namespace tsenv
