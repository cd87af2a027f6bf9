#include "tools/tsenv/InfoFacts.h"

#include "tools/tsenv/NativePath.h"
#include "tools/tsenv/Settings.h"

#include "TsEnvironment.h"

#include "help/WikiSettings.h"
#include "version/AboutLine.h"

namespace tsenv {

namespace {

namespace help = tsen::help;

std::string numbered(const std::string& location, TsEnLong number) {
  return location + " = " + std::to_string(number);
}

// The registry value behind a text answer, or what the library falls back to.
std::string textSource(Hive hive, const std::string& key, const std::string& value,
                       const std::string& fallback) {
  return readText(hive, key, value) ? settingLocation(hive, key, value) : "not set: " + fallback;
}

Fact folderFact(std::string key, std::string label, const std::string& path, std::string source) {
  return {std::move(key),    std::move(label),           path,
          std::move(source), TsEnFileExist(path, false), shownPath(path)};
}

// "19.01\RA_Zora\Road": what the per-user folders append below "Quarzel\Tessaline".
std::string perUserSegment() {
  return TsEnGetCurrentVersionNumber() + (TsEnQVRConnect() ? "\\RA_Zora\\" : "\\") +
         TsEnGetCurrentConfig();
}

FactGroup registryFacts() {
  const std::string flagLocation =
      settingLocation(Hive::currentUser, TsEnRegKeyQVRConnect, TsEnRegValueQVRConnect);
  const auto flag = readNumber(Hive::currentUser, TsEnRegKeyQVRConnect, TsEnRegValueQVRConnect);
  const bool on = TsEnQVRConnect();
  const std::string layoutSource =
      flag ? numbered(flagLocation, *flag) +
                 (on ? " (QVR connection on)" : " (only 1 selects 19.01)")
           : "not set: " + flagLocation + " is missing, so 18.40";
  const std::string layout = on ? "19.01" : "18.40";
  const std::string config = TsEnGetCurrentConfig();
  return {"registry",
          "Registry",
          {
              {"layout", "Layout", layout, layoutSource},
              {"product_key", "Product key", "HKEY_CURRENT_USER\\" + TsEnGetRegistryKey(),
               "the " + layout + " layout"},
              {"kernel_services_key", "Kernel Services key",
               "HKEY_CURRENT_USER\\" + kernelServicesKey(), "the " + layout + " layout"},
              {"modules_key", "Modules key", "HKEY_CURRENT_USER\\" + modulesKey(),
               "the " + layout + " layout"},
              {"configuration", "Configuration", config,
               textSource(Hive::currentUser, kernelServicesKey(), TsEnRegValueCurrentConfig,
                          "no configuration")},
          }};
}

FactGroup languageFacts() {
  const std::string code = TsEnGetLanguageCode();
  const unsigned int id = TsEnGetLanguageCodeID();
  std::string tableSource = "the language table";
  if (code.empty()) {
    tableSource = "no language code: English";
  } else if (TsEnGetLanguageName() == "English") {
    tableSource = "\"" + code + "\" is not in the language table: English";
  }
  return {"language",
          "Language",
          {
              {"code", "Language code", code,
               textSource(Hive::currentUser, kernelServicesKey(), TsEnRegValueLanguage, "English")},
              {"id", "Language identifier", id, tableSource},
              {"name", "Language name", TsEnGetLanguageName(), tableSource},
              {"country", "Country", TsEnGetLanguageCountry(), tableSource},
          }};
}

FactGroup versionFacts() {
  const std::string aboutFile =
      TsEnBuildFilename(std::string(tsen::kAboutFile), TsEnBaseAppPath, 0);
  const bool aboutExists = TsEnFileExist(aboutFile, false);
  const std::string aboutSource =
      aboutExists ? "first line of " + shownPath(aboutFile) : "not set: no About file, so 0";
  const std::string layoutSource = std::string("the ") + TsEnGetCurrentVersionNumber() + " layout";
  return {
      "version",
      "Version",
      {
          {"number", "Version", TsEnGetCurrentVersionNumber(), layoutSource},
          {"major", "Major", TsEnGetCurrentVersionNumberMajor(), layoutSource},
          {"minor", "Minor", TsEnGetCurrentVersionNumberMinor(), layoutSource},
          {"feature_pack", "Feature pack", TsEnGetCurrentVersionNumberFeaturePack(), aboutSource},
          {"update", "Update", TsEnGetCurrentVersionNumberUpdate(), aboutSource},
          folderFact("about_file", "About file", aboutFile, "the application folder"),
      }};
}

FactGroup folderFacts() {
  const std::string appPath = TsEnGetAppPath();
  const std::string config = TsEnGetCurrentConfig();
  const std::string segment = "Quarzel\\Tessaline\\" + perUserSegment();
  const std::string userDataSource = config.empty()
                                         ? "not set: no configuration, so no user data folder"
                                         : "known folder roaming application data, then " + segment;
  const std::string myTessalineSource =
      readText(Hive::currentUser, kernelServicesKey(), "My Tessaline Directory")
          ? settingLocation(Hive::currentUser, kernelServicesKey(), "My Tessaline Directory")
          : "not set: the user data folder";
  const std::string configTempSource =
      config.empty() ? "not set: no configuration"
                     : "temporary folder, then " + segment + " (created when asked for)";
  return {
      "folders",
      "Folders",
      {
          folderFact("application", "Application", appPath,
                     appPath.empty() ? "not found: the library is not in a Binaries folder"
                                     : "parent of the Binaries folder holding the library"),
          folderFact("user_data", "User data", TsEnGetUserDataPath(), userDataSource),
          folderFact("my_tessaline", "My Tessaline", TsEnGetMyTessalinePath(), myTessalineSource),
          folderFact("temporary", "Temporary", TsEnGetTempPath(), "the system's temporary folder"),
          folderFact("configuration_temporary", "Configuration temp", TsEnGetTempPathAppDataStyle(),
                     configTempSource),
          folderFact("quarzel_shared", "Quarzel shared", TsEnGetQuarzelSharedPath(),
                     "known folder common files, then Quarzel Shared"),
          folderFact("tessaline_shared", "Tessaline shared", TsEnGetTessalineSharedPath(),
                     "the Quarzel shared folder, then Tessaline"),
      }};
}

FactGroup sessionFacts() {
  const LogSwitch logSwitch = readLogSwitch();
  const std::string switchLocation =
      settingLocation(Hive::currentUser, modulesKey(), TsEnRegValueLogCommands);
  std::string switchSource = "not set: on";
  if (logSwitch.stored) {
    switchSource = numbered(switchLocation, *logSwitch.stored) +
                   (logSwitch.on ? "" : " (anything but 1 is off)");
  }
  const std::string logFile = TsEnBuildFilename(tsen::kCommandLogFile, TsEnBaseNone, 0);
  return {"session",
          "Session and command log",
          {
              {"active_domain", "Active domain", getActiveTessalineDomain(),
               textSource(Hive::currentUser, modulesKey(), TsEnRegValueActiveDomain, "none")},
              {"last_command", "Last command", getLastTessalineCommand(),
               textSource(Hive::currentUser, modulesKey(), TsEnRegValueLastCommand, "none")},
              {"log_switch", "Command log", logSwitch.on, switchSource},
              folderFact("log_file", "Log file", logFile, tsen::kCommandLogFile),
          }};
}

// The wiki platform: below HKEY_LOCAL_MACHINE only when the current user has
// no Kernel Services key at all.
Fact platformFact(const std::string& key) {
  TsEnWinRegistry userKey;
  const Hive hive = userKey.OpenKey(hiveHandle(Hive::currentUser), key, false) ? Hive::currentUser
                                                                               : Hive::localMachine;
  return {"platform", "Wiki platform",
          readText(hive, key, help::kHelpPlatform).value_or(std::string(help::kDefaultPlatform)),
          textSource(hive, key, help::kHelpPlatform, std::string(help::kDefaultPlatform))};
}

// The wiki settings: values of the Kernel Services key, shown as stored.
FactGroup helpFacts() {
  const std::string key = kernelServicesKey();
  const auto textFact = [&](std::string jsonKey, std::string label, const char* value,
                            const std::string& fallback) {
    return Fact{std::move(jsonKey), std::move(label),
                readText(Hive::currentUser, key, value).value_or(""),
                textSource(Hive::currentUser, key, value, fallback)};
  };
  const auto useChm = readNumber(Hive::currentUser, key, help::kUseChmHelp);
  const std::string useChmLocation = settingLocation(Hive::currentUser, key, help::kUseChmHelp);
  return {"help",
          "Help settings",
          {
              {"use_chm_help", "Use CHM help", useChm.value_or(0) == 1,
               useChm ? numbered(useChmLocation, *useChm) : "not set: the wiki"},
              textFact("language_code", "Wiki language", help::kHelpLanguageCode,
                       "from the exceptions and mapping files"),
              textFact("base_url", "Wiki address", help::kHelpBaseUrl,
                       std::string(help::kDefaultBaseUrl)),
              platformFact(key),
          }};
}

} // namespace

std::vector<FactGroup> collectFacts() {
  return {registryFacts(), languageFacts(), versionFacts(),
          folderFacts(),   sessionFacts(),  helpFacts()};
}

} // namespace tsenv
