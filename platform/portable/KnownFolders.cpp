// Shell folders and the temporary folder, from the XDG base directory
// variables and TMPDIR.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"
#include "platform/common/TextPieces.h"

#include <cstdlib>
#include <string_view>

namespace tsen::platform {

namespace {

// The variable's value; nothing when unset or empty.
std::optional<std::string> variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

std::optional<std::string> knownFolder(KnownFolder folder) {
  if (folder == KnownFolder::roamingAppData) {
    // The XDG variables name absolute paths; relative ones are to be ignored.
    if (auto configHome = variable("XDG_CONFIG_HOME"); configHome && configHome->front() == '/') {
      return host::withBackslashes(*configHome);
    }
    const auto home = variable("HOME");
    return home ? std::optional(host::withBackslashes(*home + "/.config")) : std::nullopt;
  }
  const std::string dataDirs = variable("XDG_DATA_DIRS").value_or("");
  for (const std::string_view data : splitAt(dataDirs, ':')) {
    if (data.starts_with('/')) {
      return host::withBackslashes(data);
    }
  }
  return host::withBackslashes("/usr/share");
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
