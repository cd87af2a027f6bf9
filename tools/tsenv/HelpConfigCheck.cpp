// The three single help configuration files: the wiki exceptions, the help
// defaults and the wiki language mapping.
#include "tools/tsenv/HelpCheck.h"

#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

#include <map>

namespace tsenv {
namespace {

using tsen::asciiUpperCopy;
namespace help = tsen::help;

// Reads a file's lines; a missing file is noted with what it means.
void readConfigFile(
    const HelpFolders& folders, std::string_view name, int mode, const std::string& whenMissing,
    Findings& findings,
    const std::function<void(const std::string& at, std::string_view text)>& examine) {
  const std::string file = help::helpConfigFile(name);
  if (!readHelpLines(folders, file, mode, findings, [&](int line, std::string_view text) {
        examine(folders.at(file, line), text);
      })) {
    findings.note(folders.shown(file), "not installed: " + whenMissing);
  }
}

// The key before the first ';', as the library compares it.
std::string keyOf(std::string_view text) {
  std::string key = asciiUpperCopy(text.substr(0, text.find(';')));
  help::TrimBlanks(key, help::TrimBoth);
  return key;
}

// Remembers where key first appears; false (with a finding) when it appeared before.
bool firstTime(std::map<std::string, std::string>& seen, const std::string& key,
               const std::string& at, const std::string& what, Findings& findings) {
  const auto [earlier, isNew] = seen.emplace(key, at);
  if (!isNew) {
    findings.problem(at, key + " again: " + what + " (" + earlier->second + ")");
  }
  return isNew;
}

// "NOR=no" entries behind the domain; ";" ends each.
void checkExceptionEntries(const std::string& at, std::string_view entries, Findings& findings) {
  std::set<std::string> codes;
  while (!entries.empty()) {
    const auto end = entries.find(';');
    const std::string_view entry = entries.substr(0, end);
    entries = end == std::string_view::npos ? std::string_view{} : entries.substr(end + 1);
    const auto equals = entry.find('=');
    if (entry.empty()) {
      continue;
    }
    if (equals == std::string_view::npos) {
      findings.problem(at, "entry '" + std::string(entry) +
                               "' has no '=': expected CODE=CHM or CODE=wiki language");
      continue;
    }
    const std::string code(entry.substr(0, equals));
    const std::string value(entry.substr(equals + 1));
    if (code.empty() || code.find(' ') != std::string::npos || code != asciiUpperCopy(code)) {
      findings.problem(at, "language code '" + code +
                               "' never matches: codes are looked for in upper case, directly "
                               "followed by '='");
    } else if (!codes.insert(code).second) {
      findings.problem(at, code + " appears twice in the line: the first entry counts");
    }
    if (end != std::string_view::npos && value.size() < 2) {
      findings.problem(at, "value '" + value + "' of " + code +
                               " is ignored: values followed by ';' need two characters");
    } else if (value.empty()) {
      findings.problem(at, "empty value for " + code);
    }
  }
}

} // namespace

ConfigSummary checkConfigFiles(const HelpFolders& folders, Findings& findings) {
  ConfigSummary summary;
  std::map<std::string, std::string> domains;
  readConfigFile(
      folders, help::kExceptionsFile, help::TrimBoth, "the wiki serves every domain", findings,
      [&](const std::string& at, std::string_view text) {
        const auto semicolon = text.find(';');
        if (semicolon == std::string_view::npos) {
          findings.problem(at, "no ';' after the domain: the line is never used");
        } else if (firstTime(domains, keyOf(text), at, "only its first line is read", findings)) {
          summary.domains.insert(keyOf(text));
          checkExceptionEntries(at, text.substr(semicolon + 1), findings);
        }
      });
  std::map<std::string, std::string> keys;
  readConfigFile(folders, help::kDefaultsFile, help::TrimBoth, "domains have no default help file",
                 findings, [&](const std::string& at, std::string_view text) {
                   const auto first = text.find(';');
                   const auto second =
                       first == std::string_view::npos ? first : text.find(';', first + 1);
                   std::string value(second == std::string_view::npos
                                         ? std::string_view{}
                                         : text.substr(first + 1, second - first - 1));
                   help::TrimBlanks(value, help::TrimAll);
                   if (first == std::string_view::npos) {
                     findings.problem(at, "no ';' after the key: expected KEY;value;");
                   } else if (value.empty()) {
                     findings.problem(at, second == std::string_view::npos
                                              ? "no ';' after the value: the line gives no value"
                                              : "empty value: the line gives no value");
                   } else if (firstTime(keys, keyOf(text), at, "the first value wins", findings) &&
                              keyOf(text) != "WIKI_TOPIC") {
                     summary.domains.insert(keyOf(text));
                     summary.helpFiles.push_back({value, at});
                   }
                 });
  std::map<std::string, std::string> codes;
  readConfigFile(folders, help::kMappingFile, help::TrimAll,
                 "the wiki language comes from elsewhere or is en", findings,
                 [&](const std::string& at, std::string_view text) {
                   const auto equals = text.find('=');
                   const std::string code = asciiUpperCopy(text.substr(0, equals));
                   if (equals == std::string_view::npos) {
                     findings.problem(at, "no '=': expected CODE=wiki language");
                   } else if (code.empty() || equals + 1 == text.size()) {
                     findings.problem(at, code.empty() ? "no language code before '='"
                                                       : "no wiki language after '='");
                   } else {
                     firstTime(codes, code, at, "the first line wins", findings);
                   }
                 });
  return summary;
}

} // namespace tsenv
