// The exceptions file: per domain and language, compiled help instead of the
// wiki, or another wiki language. "ROAD;NOR=CHM;DAN=da;"
#include "TsEnvironment.h"

#include "help/ConfigLines.h"
#include "help/WikiSettings.h"
#include "support/AsciiCase.h"

namespace tsen::help {
namespace {

bool useChmHelpIsSet() {
  TsEnWinRegistry registry;
  TsEnLong useChm = 0;
  return registry.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) &&
         registry.ReadLong(kUseChmHelp, useChm) && useChm == 1;
}

// The exception a matching domain's line gives for the folded language code.
int exceptionOfLine(std::string_view line, std::string_view foldedCode, std::string& language) {
  const std::string entry = std::string(foldedCode) + "=";
  const auto found = line.find(entry);
  if (found == std::string_view::npos) {
    return ExceptionNone;
  }
  std::string_view value = line.substr(found + entry.size());
  if (const auto end = value.find(';'); end != std::string_view::npos) {
    value = value.substr(0, end);
    // A value closed by ";" must have two characters at least.
    if (value.size() < 2) {
      return ExceptionNone;
    }
  }
  if (asciiUpperCopy(value) == "CHM") {
    return ExceptionUseChm;
  }
  language.assign(value);
  return ExceptionLanguage;
}

} // namespace

int ReadWikiException(const std::string& domain, std::string& language) {
  if (useChmHelpIsSet()) {
    return ExceptionUseChm;
  }
  const std::string foldedDomain = asciiUpperCopy(domain);
  const std::string foldedCode = asciiUpperCopy(language);
  int result = ExceptionNone;
  searchConfigFile(helpConfigFile(kExceptionsFile), TrimBoth, [&](std::string_view line) {
    if (!afterKeyField(line, foldedDomain)) {
      return false;
    }
    // The first line of the domain decides, usable or not.
    result = exceptionOfLine(line, foldedCode, language);
    return true;
  });
  return result;
}

} // namespace tsen::help
