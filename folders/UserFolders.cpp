// The per-user folders of the current configuration: below the roaming
// application data folder, and below the temporary folder.
#include "TsEnvironment.h"

#include "folders/ConfigurationFolders.h"
#include "platform/Platform.h"

namespace {

void trimTrailingBackslashes(std::string& path) {
  while (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
}

// Appends the configuration's folders. False, leaving path unusable, without
// a configuration.
bool appendConfigurationFolders(std::string& path) {
  const std::string folders = tsen::configurationFolders();
  if (folders.empty()) {
    return false;
  }
  path += '\\';
  path += folders;
  return true;
}

} // namespace

std::string tsen::configurationFolders() {
  const char* folders =
      TsEnQVRConnect() ? "Quarzel\\Tessaline\\19.01\\RA_Zora\\" : "Quarzel\\Tessaline\\18.40\\";
  const std::string config = TsEnGetCurrentConfig();
  return config.empty() ? std::string() : folders + config;
}

std::string TsEnGetUserDataPath() {
  std::optional<std::string> roaming =
      tsen::platform::knownFolder(tsen::platform::KnownFolder::roamingAppData);
  if (!roaming || roaming->empty()) {
    return {};
  }
  std::string path = std::move(*roaming);
  trimTrailingBackslashes(path);
  if (!appendConfigurationFolders(path)) {
    return {};
  }
  return path;
}

std::string TsEnGetTempPath() {
  std::optional<std::string> temp = tsen::platform::tempFolder();
  if (!temp) {
    return {};
  }
  std::string path = std::move(*temp);
  if (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
  return path;
}

std::string TsEnGetTempPathAppDataStyle() {
  std::string path = TsEnGetTempPath();
  // Without a temporary folder the path would point below the drive's root;
  // answer nothing rather than create folders there.
  if (path.empty()) {
    return path;
  }
  trimTrailingBackslashes(path);
  if (!appendConfigurationFolders(path)) {
    return {};
  }
  // The trailing backslash makes the system create the last folder too. An
  // existing folder, or one that cannot be made, is no concern of the caller.
  tsen::platform::createFolders(path + '\\');
  return path;
}
