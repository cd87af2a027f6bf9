// Shell folders and the temporary folder, from the XDG base directory
// variables and TMPDIR.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"
#include "platform/common/TextPieces.h"

#include <cstdlib>
#include <string_view>

namespace tsen::platform {

namespace {

std::optional<std::string> variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    return std::nullopt;
  }
  return std::string(value);
}

// The XDG variables name absolute paths; relative ones are to be ignored.
std::optional<std::string> absoluteVariable(const char* name) {
  auto value = variable(name);
  return value && value->front() == '/' ? value : std::nullopt;
}

std::optional<std::string> roamingAppData() {
  if (auto configHome = absoluteVariable("XDG_CONFIG_HOME")) {
    return configHome;
  }
  if (auto home = variable("HOME")) {
    return *home + "/.config";
  }
  return std::nullopt;
}

std::optional<std::string> commonFiles() {
  if (const auto dataDirs = variable("XDG_DATA_DIRS")) {
    for (const std::string_view folder : splitAt(*dataDirs, ':')) {
      if (folder.starts_with('/')) {
        return std::string(folder);
      }
    }
  }
  return "/usr/share";
}

} // namespace

std::optional<std::string> knownFolder(KnownFolder folder) {
  const auto hostFolder = folder == KnownFolder::roamingAppData ? roamingAppData() : commonFiles();
  return hostFolder ? std::optional(host::withBackslashes(*hostFolder)) : std::nullopt;
}

std::optional<std::string> tempFolder() {
  std::string folder = variable("TMPDIR").value_or("/tmp");
  // GetTempPathA ends its answer with a separator, adding one only if missing.
  if (!folder.ends_with('/')) {
    folder += '/';
  }
  return host::withBackslashes(folder);
}

} // namespace tsen::platform
