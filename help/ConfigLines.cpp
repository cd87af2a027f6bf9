#include "help/ConfigLines.h"

#include "TsEnvironment.h"
#include "platform/common/TextPieces.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <limits>

namespace tsen::help {

void PrepareConfigLine(std::string_view line, int mode, std::string& prepared) {
  line = line.substr(0, line.find("//"));
  prepared.clear();
  // One pass: every line of every help file comes through here.
  if (mode == TrimAll) {
    std::copy_if(line.begin(), line.end(), std::back_inserter(prepared), keptByTrimAll);
    return;
  }
  std::transform(line.begin(), line.end(), std::back_inserter(prepared),
                 [](char c) { return (c == '\t' || c == '\n') ? ' ' : c; });
  prepared.erase(prepared.find_last_not_of(' ') + 1);
  prepared.erase(0, prepared.find_first_not_of(' '));
}

std::string topicFolder() {
  return TsEnBuildFilename("<APPATH>\\Help\\WikiCfg", TsEnBaseNone, 0);
}

std::string compiledHelpFile(const std::string& languageFolder, const std::string& helpName) {
  return TsEnBuildFilename(languageFolder + helpName + ".chm", TsEnBaseAppPath, 0);
}

std::string helpConfigFile(std::string_view fileName) {
  return TsEnBuildFilename("<APPATH>\\Help\\" + std::string(fileName), TsEnBaseNone, 0);
}

std::optional<std::string> keyField(std::string_view line) {
  const auto cut = line.find(';');
  if (cut == std::string_view::npos) {
    return std::nullopt;
  }
  // Prepared lines hold no tabs: blanks are trimmed.
  return asciiUpperCopy(platform::trim(line.substr(0, cut)));
}

bool splitTopicLine(std::string_view line, bool pageToEnd, TopicLine& fields) {
  // Every line of a topic file comes through here: the first four pieces
  // only, without allocating.
  std::array<std::string_view, 4> pieces;
  std::size_t count = 0;
  for (std::size_t end = 0; count < pieces.size() && end != std::string_view::npos; ++count) {
    end = line.find(';');
    pieces[count] = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  }
  fields = {};
  if (count < 2) {
    return false;
  }
  fields.topic = pieces[0];
  fields.page = pageToEnd || count > 2 ? pieces[1] : std::string_view();
  if (count > 3) {
    fields.helpTopics = pieces[2];
    fields.helpName = pieces[3];
  }
  return true;
}

long readDecimal(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size()));
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative || text.starts_with('+') ? 1 : 0);
  constexpr std::uint64_t kLimit = std::uint64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  // Unsigned, so a second sign reads as no digits.
  std::uint64_t magnitude = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), magnitude).ec != std::errc{}) {
    magnitude = text.empty() || text[0] < '0' || text[0] > '9' ? 0 : kLimit;
  }
  const auto value = static_cast<std::int64_t>(std::min(magnitude, negative ? kLimit : kLimit - 1));
  return static_cast<long>(negative ? -value : value);
}

} // namespace tsen::help
