// The per-user folders of the current configuration: below the roaming
// application data folder, and below the temporary folder.
#include "TsEnvironment.h"

#include "folders/ConfigurationFolders.h"
#include "platform/Platform.h"

namespace {

// The configuration's folders below base, whose trailing backslashes are
// dropped; empty without a configuration.
std::string belowBase(std::string base) {
  const std::string folders = tsen::configurationFolders();
  base.erase(base.find_last_not_of('\\') + 1);
  return folders.empty() ? std::string() : base + '\\' + folders;
}

} // namespace

std::string tsen::configurationFolders() {
  const char* folders =
      TsEnQVRConnect() ? "Quarzel\\Tessaline\\19.01\\RA_Zora\\" : "Quarzel\\Tessaline\\18.40\\";
  const std::string config = TsEnGetCurrentConfig();
  return config.empty() ? std::string() : folders + config;
}

std::string TsEnGetUserDataPath() {
  const std::optional<std::string> roaming =
      tsen::platform::knownFolder(tsen::platform::KnownFolder::roamingAppData);
  return roaming && !roaming->empty() ? belowBase(*roaming) : std::string();
}

std::string TsEnGetTempPath() {
  std::string path = tsen::platform::tempFolder().value_or("");
  if (path.ends_with('\\')) {
    path.pop_back();
  }
  return path;
}

std::string TsEnGetTempPathAppDataStyle() {
  // Without a temporary folder the path would point below the drive's root;
  // answer nothing rather than create folders there.
  const std::string temp = TsEnGetTempPath();
  const std::string path = temp.empty() ? temp : belowBase(temp);
  // The trailing backslash makes the system create the last folder too. An
  // existing folder, or one that cannot be made, is no concern of the caller.
  if (!path.empty()) {
    tsen::platform::createFolders(path + '\\');
  }
  return path;
}
