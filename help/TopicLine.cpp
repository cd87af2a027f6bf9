#include "help/TopicLine.h"

#include <algorithm>
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
  std::size_t at = 0;
  const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (at < text.size() && isSpace(text[at])) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<long>(value);
}

} // namespace tsen::help
