// The three help configuration files below Help, each read line by line
// until the first line that answers the question asked.
#include "TsEnvironment.h"

#include "help/ConfigLines.h"
#include "help/WikiSettings.h"
#include "support/AsciiCase.h"

namespace tsen::help {

std::optional<ExceptionEntry> exceptionEntryOf(std::string_view line, std::string_view foldedCode) {
  const std::string code = std::string(foldedCode) + "=";
  const auto found = line.find(code);
  if (found == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view rest = line.substr(found + code.size());
  const std::string_view value = rest.substr(0, rest.find(';'));
  // A value closed by ";" must have two characters at least.
  if (value.size() < rest.size() && value.size() < 2) {
    return ExceptionEntry{value, ExceptionNone};
  }
  return ExceptionEntry{value,
                        asciiUpperCopy(value) == "CHM" ? ExceptionUseChm : ExceptionLanguage};
}

// "ROAD;NOR=CHM;DAN=da;": compiled help instead of the wiki, or another
// wiki language, per domain and language code.
int ReadWikiException(const std::string& domain, std::string& language) {
  TsEnWinRegistry settings;
  TsEnLong useChm = 0;
  if (settings.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) &&
      settings.ReadLong(kUseChmHelp, useChm) && useChm == 1) {
    return ExceptionUseChm;
  }
  const std::string foldedDomain = asciiUpperCopy(domain);
  const std::string foldedCode = asciiUpperCopy(language);
  int result = ExceptionNone;
  searchConfigFile(helpConfigFile(kExceptionsFile), TrimBoth, [&](std::string_view line) {
    if (keyField(line) != foldedDomain) {
      return false;
    }
    // The first line of the domain decides, usable or not.
    const auto entry = exceptionEntryOf(line, foldedCode);
    result = entry ? entry->exception : ExceptionNone;
    if (result == ExceptionLanguage) {
      language.assign(entry->value);
    }
    return true;
  });
  return result;
}

std::optional<std::string> helpDefaultValue(std::string_view afterKey) {
  const auto end = afterKey.find(';');
  std::string value(afterKey.substr(0, end));
  std::erase(value, ' ');
  if (end == std::string_view::npos || value.empty()) {
    return std::nullopt;
  }
  return value;
}

// "ROAD;roadhelp;": the compiled help name serving a domain. A line without
// a value lets a later line of the same key serve.
void ReadHelpDefault(const std::string& key, std::string& value) {
  const std::string foldedKey = asciiUpperCopy(key);
  searchConfigFile(helpConfigFile(kDefaultsFile), TrimBoth, [&](std::string_view line) {
    const auto found = keyField(line) == foldedKey
                           ? helpDefaultValue(line.substr(line.find(';') + 1))
                           : std::nullopt;
    if (found) {
      value = *found;
    }
    return found.has_value();
  });
}

std::optional<LanguageMapping> languageMappingOf(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  return LanguageMapping{asciiUpperCopy(line.substr(0, equals)), line.substr(equals + 1)};
}

// "NOR=no": the wiki language of a product language.
std::string ReadWikiLanguageMapping() {
  const std::string foldedCode = asciiUpperCopy(TsEnGetLanguageCode());
  std::string answer;
  const FileSearch search =
      searchConfigFile(helpConfigFile(kMappingFile), TrimAll, [&](std::string_view line) {
        const auto mapping = languageMappingOf(line);
        if (!mapping || mapping->foldedCode != foldedCode) {
          return false;
        }
        answer.assign(mapping->language);
        return true;
      });
  if (search == FileSearch::noMatch) {
    answer = kDefaultWikiLanguage;
  }
  return answer;
}

} // namespace tsen::help
