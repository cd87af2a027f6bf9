#include "help/ConfigLines.h"

#include "TsEnvironment.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <iterator>

namespace tsen::help {

void TrimBlanks(std::string& text, int mode) {
  if (mode == TrimAll) {
    std::erase(text, ' ');
    return;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
}

void PrepareConfigLine(std::string_view line, int mode, std::string& prepared) {
  line = line.substr(0, line.find("//"));
  prepared.clear();
  // One pass: every line of every help file comes through here.
  if (mode == TrimAll) {
    std::copy_if(line.begin(), line.end(), std::back_inserter(prepared),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    return;
  }
  std::transform(line.begin(), line.end(), std::back_inserter(prepared),
                 [](char c) { return (c == '\t' || c == '\n') ? ' ' : c; });
  TrimBlanks(prepared, mode);
}

std::string topicFolder() {
  return TsEnBuildFilename("<APPATH>\\Help\\WikiCfg", TsEnBaseNone, 0);
}

std::string compiledHelpFile(const std::string& languageFolder, const std::string& helpName) {
  return TsEnBuildFilename(languageFolder + helpName + ".chm", TsEnBaseAppPath, 0);
}

std::string helpConfigFile(std::string_view fileName) {
  return TsEnBuildFilename("<APPATH>\\Help\\" + std::string(fileName), TsEnBaseNone, 0);
}

std::optional<std::string> keyField(std::string_view line) {
  const auto cut = line.find(';');
  if (cut == std::string_view::npos) {
    return std::nullopt;
  }
  std::string key = asciiUpperCopy(line.substr(0, cut));
  TrimBlanks(key, TrimBoth);
  return key;
}

std::optional<std::string_view> afterKeyField(std::string_view line, std::string_view foldedKey) {
  if (keyField(line) != foldedKey) {
    return std::nullopt;
  }
  return line.substr(line.find(';') + 1);
}

} // namespace tsen::help
