// The three single help configuration files: the wiki exceptions, the help
// defaults and the wiki language mapping.
#include "tools/tsenv/HelpCheck.h"

#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

#include <optional>

namespace tsenv {
namespace {

using tsen::asciiUpperCopy;
namespace help = tsen::help;

// The key before the first ';', as the library compares it.
std::string keyOf(std::string_view text) {
  std::string key = asciiUpperCopy(text.substr(0, text.find(';')));
  help::TrimBlanks(key, help::TrimBoth);
  return key;
}

// Reads a file's lines, each with its first field's key; a key seen before
// is reported with what wins, a missing file noted with what it means.
void readConfigFile(
    HelpCheck& check, std::string_view name, int mode, const char* whenMissing,
    const char* whatWins,
    const std::function<std::optional<std::string>(const std::string& at, std::string_view text)>&
        keyOfLine,
    const std::function<void(const std::string& at, std::string_view text)>& use) {
  const std::string file = help::helpConfigFile(name);
  std::map<std::string, std::string> defined;
  if (!check.readLines(file, mode, [&](const std::string& at, std::string_view text) {
        const auto key = keyOfLine(at, text);
        if (!key) {
          return;
        }
        if (const std::string* earlier = definedBefore(defined, *key, at)) {
          check.problem(at, *key + " again: " + whatWins + " (" + *earlier + ")");
        } else {
          use(at, text);
        }
      })) {
    check.note(check.shown(file), std::string("not installed: ") + whenMissing);
  }
}

// "NOR=no" entries behind the domain; ";" ends each.
void checkExceptionEntries(HelpCheck& check, const std::string& at, std::string_view entries) {
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
      check.problem(at, "entry '" + std::string(entry) +
                            "' has no '=': expected CODE=CHM or CODE=wiki language");
      continue;
    }
    const std::string code(entry.substr(0, equals));
    const std::string value(entry.substr(equals + 1));
    if (code.empty() || code.find(' ') != std::string::npos || code != asciiUpperCopy(code)) {
      check.problem(at, "language code '" + code +
                            "' never matches: codes are looked for in upper case, directly "
                            "followed by '='");
    } else if (!codes.insert(code).second) {
      check.problem(at, code + " appears twice in the line: the first entry counts");
    }
    if (end != std::string_view::npos && value.size() < 2) {
      check.problem(at, "value '" + value + "' of " + code +
                            " is ignored: values followed by ';' need two characters");
    } else if (value.empty()) {
      check.problem(at, "empty value for " + code);
    }
  }
}

// The value between the first and second ';', blanks removed.
std::string secondField(std::string_view text) {
  const auto first = text.find(';');
  const auto second = first == std::string_view::npos ? first : text.find(';', first + 1);
  std::string value(second == std::string_view::npos ? std::string_view{}
                                                     : text.substr(first + 1, second - first - 1));
  help::TrimBlanks(value, help::TrimAll);
  return value;
}

} // namespace

void checkConfigFiles(HelpCheck& check) {
  readConfigFile(
      check, help::kExceptionsFile, help::TrimBoth, "the wiki serves every domain",
      "only its first line is read",
      [&](const std::string& at, std::string_view text) -> std::optional<std::string> {
        if (text.find(';') == std::string_view::npos) {
          check.problem(at, "no ';' after the domain: the line is never used");
          return std::nullopt;
        }
        return keyOf(text);
      },
      [&](const std::string& at, std::string_view text) {
        check.domains.insert(keyOf(text));
        checkExceptionEntries(check, at, text.substr(text.find(';') + 1));
      });
  readConfigFile(
      check, help::kDefaultsFile, help::TrimBoth, "domains have no default help file",
      "the first value wins",
      [&](const std::string& at, std::string_view text) -> std::optional<std::string> {
        const auto first = text.find(';');
        if (first == std::string_view::npos) {
          check.problem(at, "no ';' after the key: expected KEY;value;");
        } else if (secondField(text).empty()) {
          check.problem(at, text.find(';', first + 1) == std::string_view::npos
                                ? "no ';' after the value: the line gives no value"
                                : "empty value: the line gives no value");
        } else {
          return keyOf(text);
        }
        return std::nullopt;
      },
      [&](const std::string& at, std::string_view text) {
        if (keyOf(text) != "WIKI_TOPIC") {
          check.domains.insert(keyOf(text));
          check.helpFiles.emplace_back(secondField(text), at);
        }
      });
  readConfigFile(
      check, help::kMappingFile, help::TrimAll, "the wiki language comes from elsewhere or is en",
      "the first line wins",
      [&](const std::string& at, std::string_view text) -> std::optional<std::string> {
        const auto equals = text.find('=');
        const std::string code = asciiUpperCopy(text.substr(0, equals));
        if (equals == std::string_view::npos) {
          check.problem(at, "no '=': expected CODE=wiki language");
        } else if (code.empty() || equals + 1 == text.size()) {
          check.problem(at, code.empty() ? "no language code before '='"
                                         : "no wiki language after '='");
        } else {
          return code;
        }
        return std::nullopt;
      },
      [](const std::string&, std::string_view) {});
}

} // namespace tsenv
