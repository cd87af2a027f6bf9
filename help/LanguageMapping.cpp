// The mapping file: the wiki language of a product language. "NOR=no"
#include "TsEnvironment.h"

#include "help/ConfigLines.h"
#include "help/WikiSettings.h"
#include "support/AsciiCase.h"

namespace tsen::help {

std::string ReadWikiLanguageMapping() {
  const std::string foldedCode = asciiUpperCopy(TsEnGetLanguageCode());
  std::string answer;
  const FileSearch search =
      searchConfigFile(helpConfigFile(kMappingFile), TrimAll, [&](std::string_view line) {
        const auto equals = line.find('=');
        if (equals == std::string_view::npos ||
            asciiUpperCopy(line.substr(0, equals)) != foldedCode) {
          return false;
        }
        answer.assign(line.substr(equals + 1));
        return true;
      });
  if (search == FileSearch::noMatch) {
    answer = kDefaultWikiLanguage;
  }
  return answer;
}

} // namespace tsen::help
