// The defaults file: the compiled help name serving a domain. "ROAD;roadhelp;"
#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

namespace tsen::help {

void ReadHelpDefault(const std::string& key, std::string& value) {
  const std::string foldedKey = asciiUpperCopy(key);
  searchConfigFile(helpConfigFile(kDefaultsFile), TrimBoth, [&](std::string_view line) {
    const auto rest = afterKeyField(line, foldedKey);
    if (!rest) {
      return false;
    }
    const auto end = rest->find(';');
    if (end == std::string_view::npos) {
      return false;
    }
    std::string found(rest->substr(0, end));
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
