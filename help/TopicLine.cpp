#include "help/TopicLine.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace tsen::help {

bool splitTopicLine(std::string_view line, bool pageToEnd, TopicLine& fields) {
  fields = {};
  const auto first = line.find(';');
  if (first == std::string_view::npos) {
    return false;
  }
  fields.topic = line.substr(0, first);
  const auto second = line.find(';', first + 1);
  if (second == std::string_view::npos) {
    if (pageToEnd) {
      fields.page = line.substr(first + 1);
    }
    return true;
  }
  fields.page = line.substr(first + 1, second - first - 1);
  const auto third = line.find(';', second + 1);
  if (third == std::string_view::npos) {
    return true;
  }
  fields.helpTopics = line.substr(second + 1, third - second - 1);
  const auto fourth = line.find(';', third + 1);
  fields.helpName = line.substr(third + 1, fourth == std::string_view::npos ? std::string_view::npos
                                                                            : fourth - third - 1);
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
