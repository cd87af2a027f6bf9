// A user whose data folder is a scratch folder on disk, with helpers to read
// the command log back.
#pragma once

#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

inline constexpr std::string_view kModules1840 =
    "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules";
inline constexpr std::string_view kModules1901 =
    "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules";
inline constexpr std::size_t kStampLength = 20;

inline std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a log, split at CR LF; a log that does not end in CR LF, or
// holds a line feed of its own, gives a last line with the remainder.
inline std::vector<std::string> logLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  if (start != bytes.size()) {
    lines.push_back(bytes.substr(start));
  }
  return lines;
}

inline std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line + ";");
  for (std::string field; std::getline(in, field, ';');) {
    fields.push_back(field);
  }
  return fields;
}

inline bool isStampPattern(const std::string& stamp) {
  static const std::regex pattern(R"(\d{4}\.\d{2}\.\d{2}, \d{2}:\d{2}:\d{2})");
  return std::regex_match(stamp, pattern);
}

// The moment a time stamp names, as local time.
inline std::time_t stampTime(const std::string& stamp) {
  std::tm local{};
  std::istringstream(stamp) >> std::get_time(&local, "%Y.%m.%d, %H:%M:%S");
  local.tm_isdst = -1;
  return std::mktime(&local);
}

class SessionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    log_ = useDataFolder(false, "Road");
  }

  static std::string modulesKey(bool layout19) {
    return std::string(layout19 ? kModules1901 : kModules1840);
  }
  static std::optional<std::string> stored(bool layout19, std::string_view valueName) {
    return fake::stringValue(kHKCU, modulesKey(layout19), valueName);
  }

  // Makes <scratch>\<roaming> the roaming folder and config the current
  // configuration of the layout, creates that user data folder and answers
  // the log file's host path.
  std::filesystem::path useDataFolder(bool layout19, const std::string& config,
                                      const std::string& roaming = "roaming") const {
    fake::setKnownFolder(fake::KnownFolder::roamingAppData, scratch_.library(roaming));
    fake::setString(kHKCU, kernelKey(layout19), "Current Config", config);
    const auto folder = scratch_.path() / roaming / "Quarzel" / "Tessaline" /
                        (layout19 ? "19.01/RA_Zora" : "18.40") / config;
    std::filesystem::create_directories(folder);
    return folder / "TessalineCommand.log";
  }

  std::string log() const { return readBytes(log_); }

  ScratchFolder scratch_;
  std::filesystem::path log_;
};

} // namespace tsen::testing
