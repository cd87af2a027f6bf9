// The command log read back: lines ending in CR LF, each of four fields,
// the second a local time stamp.
#pragma once

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

struct LogLine {
  std::string command;
  std::string time;
  std::string domain;
  std::string info;
  bool operator==(const LogLine&) const = default;
};

// The log's lines without their CR LF; nothing when the text does not end
// with one.
inline std::optional<std::vector<std::string>> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find("\r\n");
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

// Exactly four fields, or nothing.
inline std::optional<LogLine> parseLogLine(std::string_view line) {
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const auto end = line.find(';', start);
    fields.emplace_back(line.substr(start, end - start));
    if (end == std::string_view::npos) {
      break;
    }
    start = end + 1;
  }
  if (fields.size() != 4) {
    return std::nullopt;
  }
  return LogLine{fields[0], fields[1], fields[2], fields[3]};
}

// "YYYY.MM.DD, hh:mm:ss" naming a local time within [from, to].
inline bool isTimeStampWithin(const std::string& stamp, std::time_t from, std::time_t to) {
  std::tm local{};
  char tail = 0;
  if (stamp.size() != 20 ||
      std::sscanf(stamp.c_str(), "%4d.%2d.%2d, %2d:%2d:%2d%c", &local.tm_year, &local.tm_mon,
                  &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec, &tail) != 6) {
    return false;
  }
  local.tm_year -= 1900;
  local.tm_mon -= 1;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  char formatted[32] = {};
  std::strftime(formatted, sizeof formatted, "%Y.%m.%d, %H:%M:%S", &local);
  return formatted == stamp && when >= from && when <= to;
}

} // namespace tsen::testing
