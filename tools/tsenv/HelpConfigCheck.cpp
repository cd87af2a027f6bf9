// The three single help configuration files: the wiki exceptions, the help
// defaults and the wiki language mapping.
#include "tools/tsenv/HelpCheckParts.h"
#include "tools/tsenv/HelpFileLines.h"
#include "tools/tsenv/NativePath.h"

#include "support/AsciiCase.h"

#include <algorithm>

namespace tsenv {

namespace {

constexpr const char* kDefaultWikiPageKey = "WIKI_TOPIC";

struct FileReading {
  const HelpInstallation& installation;
  const std::string& file;
  Findings& findings;

  std::string at(int line) const { return lineWhere(installation, file, line); }
};

// The lines of file, long lines reported; nothing when it is not installed.
std::optional<std::vector<HelpLine>> readChecked(const FileReading& reading, Blanks blanks,
                                                 const std::string& whenMissing) {
  auto lines = readHelpFile(nativePath(reading.file), blanks);
  if (!lines) {
    reading.findings.note(reading.installation.shown(reading.file),
                          "not installed: " + whenMissing);
    return std::nullopt;
  }
  for (const HelpLine& line : *lines) {
    if (line.firstOfLongLine) {
      reading.findings.problem(reading.at(line.number),
                               "longer than 1023 characters: read in pieces, each as a line");
    }
  }
  return lines;
}

// "NOR=no" entries behind the domain; ";" ends each.
void checkExceptionEntries(const FileReading& reading, int number, std::string_view entries) {
  std::set<std::string> codes;
  while (!entries.empty()) {
    const auto end = entries.find(';');
    const bool closed = end != std::string_view::npos;
    const std::string_view entry = entries.substr(0, end);
    entries = closed ? entries.substr(end + 1) : std::string_view{};
    if (entry.empty()) {
      continue;
    }
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) {
      reading.findings.problem(reading.at(number), "entry '" + std::string(entry) +
                                                       "' has no '=': expected CODE=CHM or "
                                                       "CODE=wiki language");
      continue;
    }
    const std::string code(entry.substr(0, equals));
    const std::string_view value = entry.substr(equals + 1);
    if (code.empty() || code.find(' ') != std::string::npos || code != tsen::asciiUpperCopy(code)) {
      reading.findings.problem(reading.at(number),
                               "language code '" + code +
                                   "' never matches: codes are looked for in upper case, "
                                   "directly followed by '='");
    } else if (!codes.insert(code).second) {
      reading.findings.problem(reading.at(number),
                               code + " appears twice in the line: the first entry counts");
    }
    if (closed && value.size() < 2) {
      reading.findings.problem(reading.at(number),
                               "value '" + std::string(value) + "' of " + code +
                                   " is ignored: values followed by ';' need two characters");
    } else if (value.empty()) {
      reading.findings.problem(reading.at(number), "empty value for " + code);
    }
  }
}

void checkExceptions(const HelpInstallation& installation, Findings& findings,
                     ConfigSummary& summary) {
  const FileReading reading{installation, installation.exceptionsFile, findings};
  const auto lines = readChecked(reading, Blanks::trimEnds, "the wiki serves every domain");
  std::map<std::string, int> domains;
  for (const HelpLine& line : lines.value_or(std::vector<HelpLine>{})) {
    const std::string_view text = line.prepared;
    if (text.empty()) {
      continue;
    }
    const auto semicolon = text.find(';');
    if (semicolon == std::string_view::npos) {
      findings.problem(reading.at(line.number), "no ';' after the domain: the line is never used");
      continue;
    }
    const std::string domain = tsen::asciiUpperCopy(trimBlanks(text.substr(0, semicolon)));
    const auto [first, isNew] = domains.emplace(domain, line.number);
    if (!isNew) {
      findings.problem(reading.at(line.number), "domain " + domain +
                                                    " again: only its first line (" +
                                                    reading.at(first->second) + ") is read");
      continue;
    }
    summary.exceptionDomains.insert(domain);
    checkExceptionEntries(reading, line.number, text.substr(semicolon + 1));
  }
}

void checkDefaults(const HelpInstallation& installation, Findings& findings,
                   ConfigSummary& summary) {
  const FileReading reading{installation, installation.defaultsFile, findings};
  const auto lines = readChecked(reading, Blanks::trimEnds, "domains have no default help file");
  std::map<std::string, int> keys;
  for (const HelpLine& line : lines.value_or(std::vector<HelpLine>{})) {
    const std::string_view text = line.prepared;
    if (text.empty()) {
      continue;
    }
    const auto first = text.find(';');
    const auto second = first == std::string_view::npos ? first : text.find(';', first + 1);
    if (second == std::string_view::npos) {
      findings.problem(reading.at(line.number),
                       first == std::string_view::npos
                           ? "no ';' after the key: expected KEY;value;"
                           : "no ';' after the value: the line gives no value");
      continue;
    }
    std::string value(text.substr(first + 1, second - first - 1));
    std::erase(value, ' ');
    if (value.empty()) {
      findings.problem(reading.at(line.number), "empty value: the line gives no value");
      continue;
    }
    const std::string key = tsen::asciiUpperCopy(trimBlanks(text.substr(0, first)));
    const auto [earlier, isNew] = keys.emplace(key, line.number);
    if (!isNew) {
      findings.problem(reading.at(line.number),
                       key + " again: the first value (" + reading.at(earlier->second) + ") wins");
      continue;
    }
    if (key != kDefaultWikiPageKey) {
      summary.defaultDomains.insert(key);
      summary.helpFiles.push_back({value, reading.at(line.number)});
    }
  }
}

void checkMapping(const HelpInstallation& installation, Findings& findings) {
  const FileReading reading{installation, installation.mappingFile, findings};
  const auto lines =
      readChecked(reading, Blanks::removeAll, "the wiki language comes from elsewhere or is en");
  std::map<std::string, int> codes;
  for (const HelpLine& line : lines.value_or(std::vector<HelpLine>{})) {
    const std::string_view text = line.prepared;
    if (text.empty()) {
      continue;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
      findings.problem(reading.at(line.number), "no '=': expected CODE=wiki language");
      continue;
    }
    const std::string code = tsen::asciiUpperCopy(text.substr(0, equals));
    if (code.empty() || equals + 1 == text.size()) {
      findings.problem(reading.at(line.number),
                       code.empty() ? "no language code before '='" : "no wiki language after '='");
      continue;
    }
    const auto [earlier, isNew] = codes.emplace(code, line.number);
    if (!isNew) {
      findings.problem(reading.at(line.number),
                       code + " again: the first line (" + reading.at(earlier->second) + ") wins");
    }
  }
}

} // namespace

ConfigSummary checkConfigFiles(const HelpInstallation& installation, Findings& findings) {
  ConfigSummary summary;
  checkExceptions(installation, findings, summary);
  checkDefaults(installation, findings, summary);
  checkMapping(installation, findings);
  return summary;
}

} // namespace tsenv
