// The defaults file: the compiled help name serving a domain. "ROAD;roadhelp;"
#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

namespace tsen::help {

void ReadHelpDefault(const std::string& key, std::string& value) {
  const std::string foldedKey = asciiUpperCopy(key);
  searchConfigFile(helpConfigFile(kDefaultsFile), TrimBoth, [&](std::string_view line) {
    const auto first = line.find(';');
    if (first == std::string_view::npos) {
      return false;
    }
    std::string lineKey = asciiUpperCopy(line.substr(0, first));
    TrimBlanks(lineKey, TrimBoth);
    if (lineKey != foldedKey) {
      return false;
    }
    const auto second = line.find(';', first + 1);
    if (second == std::string_view::npos) {
      return false;
    }
    std::string found(line.substr(first + 1, second - first - 1));
    TrimBlanks(found, TrimAll);
    // An empty value lets a later line of the same key serve.
    if (found.empty()) {
      return false;
    }
    value = std::move(found);
    return true;
  });
}

} // namespace tsen::help
