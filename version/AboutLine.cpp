#include "version/AboutLine.h"

#include "support/AsciiCase.h"

#include <string>

namespace tsen {
namespace {

// Character codes count as signed bytes, as the About file's writers expect.
int code(char c) {
  return static_cast<signed char>(c);
}

} // namespace

FeaturePackAndUpdate parseAboutLine(std::string_view line) {
  FeaturePackAndUpdate result;
  const auto blank = line.find(' ');
  if (blank == std::string_view::npos) {
    return result;
  }
  std::string version = asciiUpperCopy(line.substr(blank + 1));
  // The release mark "IR", with a dot or blank before it, ends the version;
  // cutting it also drops the line feed.
  if (const auto mark = version.find("IR"); mark != std::string::npos) {
    const bool markedOff = mark > 0 && (version[mark - 1] == '.' || version[mark - 1] == ' ');
    version.erase(markedOff ? mark - 1 : mark);
  }

  const auto firstDot = version.find('.');
  if (firstDot == std::string::npos) {
    return result;
  }
  const auto secondDot = version.find('.', firstDot + 1);
  if (secondDot == std::string::npos) {
    return result;
  }
  std::string_view component = std::string_view(version).substr(secondDot + 1);
  if (component.starts_with("SP") || component.starts_with("FP")) {
    component.remove_prefix(2);
  }
  if (component.size() == 1) {
    result.update = code(component[0]) - 64;
  } else if (component.size() == 2) {
    result.featurePack = code(component[0]) - 48;
    result.update = code(component[1]) - 64;
  }
  return result;
}

} // namespace tsen
