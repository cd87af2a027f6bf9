// The resource library of a module for the current language, else English,
// searched in the Resources folder alone.
#include "TsEnvironment.h"

#include "platform/Platform.h"

#include <array>
#include <cstring>

std::string TsEnGetResourceName(const std::string& baseName) {
  std::array<char, 260> found{};
  const std::string appPath = TsEnGetAppPath();
  if (appPath.empty()) {
    return {};
  }
  const std::string folder = appPath + "\\Resources";
  const auto search = [&](const std::string& fileName) {
    return tsen::platform::searchPath(folder.c_str(), fileName.c_str(), ".xxx",
                                      static_cast<std::uint32_t>(found.size()), found.data());
  };
  // A path too long for the buffer counts as an answer: English is not tried
  // and nothing was written, so the result is empty.
  if (search(baseName + ".RC." + TsEnGetLanguageCode() + ".DLL") == 0) {
    search(baseName + ".RC.Eng.DLL");
  }
  return std::string(found.data(), ::strnlen(found.data(), found.size()));
}
