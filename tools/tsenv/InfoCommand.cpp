// info: every answer the library gives here, each with where it came from:
// the registry value, known folder or fallback behind it.
#include "tools/tsenv/Commands.h"

#include "folders/ConfigurationFolders.h"
#include "folders/KeptFolders.h"
#include "help/WikiSettings.h"
#include "platform/Platform.h"
#include "session/ModulesKey.h"
#include "version/AboutLine.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <memory>

namespace tsenv {

namespace {

using Json = nlohmann::ordered_json;
namespace help = tsen::help;
const HKEY kUser = tsen::platform::kCurrentUser;

struct Fact {
  std::string key;              // the answer's name in JSON
  std::string label;            // the answer's name for a reader
  Json value;                   // a string, a number or true/false
  std::string source;           // where the answer came from
  std::optional<bool> exists{}; // for folders and files: whether they exist
};

struct FactGroup {
  std::string key;
  std::string title;
  std::vector<Fact> facts;
};

// "HKEY_CURRENT_USER\<key>\<value>", as a user finds it in a registry editor.
std::string location(HKEY hive, const std::string& key, const std::string& value) {
  return (hive == kUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + key + "\\" + value;
}

// The registry value behind a text answer, or what the library falls back to.
std::string textSource(HKEY hive, const std::string& key, const std::string& value,
                       const std::string& fallback) {
  return readSetting<std::string>(hive, key, value) ? location(hive, key, value)
                                                    : "not set: " + fallback;
}

Fact folderFact(std::string key, std::string label, const std::string& path, std::string source) {
  return {std::move(key), std::move(label), path, std::move(source), TsEnFileExist(path, false)};
}

FactGroup registryFacts() {
  const auto flag = readSetting<TsEnLong>(kUser, TsEnRegKeyQVRConnect, TsEnRegValueQVRConnect);
  const bool on = TsEnQVRConnect();
  const std::string layout = on ? "19.01" : "18.40";
  const std::string flagLocation = location(kUser, TsEnRegKeyQVRConnect, TsEnRegValueQVRConnect);
  const std::string layoutSource =
      flag ? flagLocation + " = " + std::to_string(*flag) +
                 (on ? " (QVR connection on)" : " (only 1 selects 19.01)")
           : "not set: " + flagLocation + " is missing, so 18.40";
  const std::string byLayout = "the " + layout + " layout";
  return {"registry",
          "Registry",
          {{"layout", "Layout", layout, layoutSource},
           {"product_key", "Product key", "HKEY_CURRENT_USER\\" + TsEnGetRegistryKey(), byLayout},
           {"kernel_services_key", "Kernel Services key",
            "HKEY_CURRENT_USER\\" + TsEnGetRegKeyKernelServices(), byLayout},
           {"modules_key", "Modules key", "HKEY_CURRENT_USER\\" + tsen::modulesKey(), byLayout},
           {"configuration", "Configuration", TsEnGetCurrentConfig(),
            textSource(kUser, TsEnGetRegKeyKernelServices(), TsEnRegValueCurrentConfig,
                       "no configuration")}}};
}

FactGroup languageFacts() {
  const std::string code = TsEnGetLanguageCode();
  const std::string table = code.empty() ? "no language code: English"
                            : TsEnGetLanguageName() == "English"
                                ? "\"" + code + "\" is not in the language table: English"
                                : "the language table";
  return {"language",
          "Language",
          {{"code", "Language code", code,
            textSource(kUser, TsEnGetRegKeyKernelServices(), TsEnRegValueLanguage, "English")},
           {"id", "Language identifier", TsEnGetLanguageCodeID(), table},
           {"name", "Language name", TsEnGetLanguageName(), table},
           {"country", "Country", TsEnGetLanguageCountry(), table}}};
}

FactGroup versionFacts() {
  const std::string about = TsEnBuildFilename(std::string(tsen::kAboutFile), TsEnBaseAppPath, 0);
  const std::string aboutSource = TsEnFileExist(about, false) ? "first line of " + shownPath(about)
                                                              : "not set: no About file, so 0";
  const std::string layout = std::string("the ") + TsEnGetCurrentVersionNumber() + " layout";
  return {"version",
          "Version",
          {{"number", "Version", TsEnGetCurrentVersionNumber(), layout},
           {"major", "Major", TsEnGetCurrentVersionNumberMajor(), layout},
           {"minor", "Minor", TsEnGetCurrentVersionNumberMinor(), layout},
           {"feature_pack", "Feature pack", TsEnGetCurrentVersionNumberFeaturePack(), aboutSource},
           {"update", "Update", TsEnGetCurrentVersionNumberUpdate(), aboutSource},
           folderFact("about_file", "About file", about, "the application folder")}};
}

FactGroup folderFacts() {
  const std::string app = TsEnGetAppPath();
  const bool configured = !TsEnGetCurrentConfig().empty();
  const std::string segment = tsen::configurationFolders();
  const std::string kernel = TsEnGetRegKeyKernelServices();
  return {
      "folders",
      "Folders",
      {folderFact("application", "Application", app,
                  app.empty() ? "not found: the library is not in a Binaries folder"
                              : "parent of the Binaries folder holding the library"),
       folderFact("user_data", "User data", TsEnGetUserDataPath(),
                  configured ? "known folder roaming application data, then " + segment
                             : "not set: no configuration, so no user data folder"),
       folderFact("my_tessaline", "My Tessaline", TsEnGetMyTessalinePath(),
                  textSource(kUser, kernel, tsen::kMyTessalineValue, "the user data folder")),
       folderFact("temporary", "Temporary", TsEnGetTempPath(), "the system's temporary folder"),
       folderFact("configuration_temporary", "Configuration temp", TsEnGetTempPathAppDataStyle(),
                  configured ? "temporary folder, then " + segment + " (created when asked for)"
                             : "not set: no configuration"),
       folderFact("quarzel_shared", "Quarzel shared", TsEnGetQuarzelSharedPath(),
                  "known folder common files, then Quarzel Shared"),
       folderFact("tessaline_shared", "Tessaline shared", TsEnGetTessalineSharedPath(),
                  "the Quarzel shared folder, then Tessaline")}};
}

FactGroup sessionFacts() {
  const std::string modules = tsen::modulesKey();
  const auto stored = readSetting<TsEnLong>(kUser, modules, TsEnRegValueLogCommands);
  const bool on = tsen::loggingIsOn();
  const std::string switchSource = stored ? location(kUser, modules, TsEnRegValueLogCommands) +
                                                " = " + std::to_string(*stored) +
                                                (on ? "" : " (anything but 1 is off)")
                                          : "not set: on";
  return {
      "session",
      "Session and command log",
      {{"active_domain", "Active domain", getActiveTessalineDomain(),
        textSource(kUser, modules, TsEnRegValueActiveDomain, "none")},
       {"last_command", "Last command", getLastTessalineCommand(),
        textSource(kUser, modules, TsEnRegValueLastCommand, "none")},
       {"log_switch", "Command log", on, switchSource},
       folderFact("log_file", "Log file", TsEnBuildFilename(tsen::kCommandLogFile, TsEnBaseNone, 0),
                  tsen::kCommandLogFile)}};
}

// The wiki settings: values of the Kernel Services key, shown as stored.
FactGroup helpFacts() {
  const std::string key = TsEnGetRegKeyKernelServices();
  const auto text = [&](const char* value) {
    return readSetting<std::string>(kUser, key, value).value_or("");
  };
  const auto useChm = readSetting<TsEnLong>(kUser, key, help::kUseChmHelp);
  bool fromMachine = false;
  const std::string platform = help::ReadWikiPlatform(&fromMachine);
  return {
      "help",
      "Help settings",
      {{"use_chm_help", "Use CHM help", useChm.value_or(0) == 1,
        useChm ? location(kUser, key, help::kUseChmHelp) + " = " + std::to_string(*useChm)
               : "not set: the wiki"},
       {"language_code", "Wiki language", text(help::kHelpLanguageCode),
        textSource(kUser, key, help::kHelpLanguageCode, "from the exceptions and mapping files")},
       {"base_url", "Wiki address", text(help::kHelpBaseUrl),
        textSource(kUser, key, help::kHelpBaseUrl, std::string(help::kDefaultBaseUrl))},
       {"platform", "Wiki platform", platform,
        textSource(fromMachine ? tsen::platform::kLocalMachine : kUser, key, help::kHelpPlatform,
                   std::string(help::kDefaultPlatform))}}};
}

std::string shownValue(const Json& value) {
  const std::string text = value.is_boolean()  ? (value.get<bool>() ? "on" : "off")
                           : value.is_string() ? value.get<std::string>()
                                               : value.dump();
  return text.empty() ? "(empty)" : text;
}

// The report as aligned text for a reader; answers from one source in a row
// name it once, below the last.
void printText(const std::vector<FactGroup>& groups) {
  std::size_t width = 0;
  for (const FactGroup& group : groups) {
    for (const Fact& fact : group.facts) {
      width = std::max(width, fact.label.size() + 2);
    }
  }
  for (const FactGroup& group : groups) {
    std::cout << group.title << '\n';
    for (auto fact = group.facts.begin(); fact != group.facts.end(); ++fact) {
      std::cout << "  " << fact->label << std::string(width - fact->label.size(), ' ')
                << shownValue(fact->exists ? Json(shownPath(fact->value.get<std::string>()))
                                           : fact->value)
                << (!fact->exists   ? ""
                    : *fact->exists ? "  [exists]"
                                    : "  [missing]")
                << '\n';
      if (std::next(fact) == group.facts.end() || std::next(fact)->source != fact->source) {
        std::cout << std::string(2 + width, ' ') << "from: " << fact->source << '\n';
      }
    }
    std::cout << '\n';
  }
}

// {"<group>": {"<fact>": {"value": ..., "source": "...", "exists": ..., "host_path": ...}}}.
void printJson(const std::vector<FactGroup>& groups) {
  Json report = Json::object();
  for (const FactGroup& group : groups) {
    Json& entries = report[group.key] = Json::object();
    for (const Fact& fact : group.facts) {
      Json& entry = entries[fact.key] = {{"value", fact.value}, {"source", fact.source}};
      if (fact.exists) {
        entry["exists"] = *fact.exists;
        entry["host_path"] = shownPath(fact.value.get<std::string>());
      }
    }
  }
  std::cout << report.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace

void addInfoCommand(CLI::App& app, Runner& runner) {
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "info", "Show every answer of the library here, each with where it came from");
  command->add_flag("--json", *json, "one JSON object, e.g. for a support ticket");
  runs(command, runner, [json] {
    const std::vector<FactGroup> facts = {registryFacts(), languageFacts(), versionFacts(),
                                          folderFacts(),   sessionFacts(),  helpFacts()};
    *json ? printJson(facts) : printText(facts);
    return kExitDone;
  });
}

} // namespace tsenv
