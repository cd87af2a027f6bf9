#include "tools/tsenv/HelpCheck.h"

#include "tools/tsenv/HelpCheckParts.h"
#include "tools/tsenv/HelpFileLines.h"
#include "tools/tsenv/NativePath.h"

#include "support/AsciiCase.h"

#include "TsEnvironment.h"

#include <system_error>

namespace tsenv {

namespace {

constexpr const char* kEnglish = "Eng";

std::string helpFile(const std::string& name) {
  return TsEnBuildFilename("<APPATH>\\Help\\" + name, TsEnBaseNone, 0);
}

// The language folders below Help: every folder but the topic folder, with
// the English one always among them.
std::vector<std::string> languageFolders(const HelpInstallation& installation) {
  std::vector<std::string> codes;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(nativePath(installation.helpFolder), error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) && tsen::asciiUpperCopy(name) != "WIKICFG" && name != kEnglish) {
      codes.push_back(name);
    }
  }
  return codes;
}

void checkDomainFolders(const HelpInstallation& installation,
                        const std::vector<std::string>& domains, const ConfigSummary& config,
                        Findings& findings) {
  for (const std::string& domain : domains) {
    const std::string folded = tsen::asciiUpperCopy(domain);
    if (!config.exceptionDomains.contains(folded) && !config.defaultDomains.contains(folded)) {
      findings.problem(installation.shown(installation.topicFolder + "\\" + domain),
                       "domain folder without a line in " +
                           installation.shown(installation.exceptionsFile) + " or " +
                           installation.shown(installation.defaultsFile));
    }
  }
}

// Each help file once, in the first place that names it.
void checkCompiledHelpFiles(const HelpInstallation& installation,
                            const std::vector<NamedHelpFile>& helpFiles, Findings& findings) {
  const std::vector<std::string> languages = languageFolders(installation);
  std::set<std::string> checked;
  for (const NamedHelpFile& file : helpFiles) {
    if (!checked.insert(file.name).second) {
      continue;
    }
    const auto path = [&](const std::string& code) {
      return installation.helpFolder + "\\" + code + "\\" + file.name + ".chm";
    };
    const bool english = TsEnFileExist(path(kEnglish), false);
    if (!english) {
      findings.problem(installation.shown(path(kEnglish)),
                       "missing (named by " + file.namedBy + "): no language can fall back to it");
    }
    for (const std::string& code : languages) {
      if (TsEnFileExist(path(code), false)) {
        continue;
      }
      const std::string what = "missing (named by " + file.namedBy + ")";
      if (english) {
        findings.note(installation.shown(path(code)), what + ": " + code + " users get English");
      } else {
        findings.problem(installation.shown(path(code)), what);
      }
    }
  }
}

} // namespace

HelpInstallation HelpInstallation::fromLibrary() {
  return {TsEnGetAppPath(),
          TsEnBuildFilename("<APPATH>\\Help", TsEnBaseNone, 0),
          helpFile("Tessaline_Wiki_Exeptions.cfg"),
          helpFile("Tessaline_Help_Defaults.cfg"),
          helpFile("Tessaline_Wiki_Help_Language_Mapping.cfg"),
          helpFile("WikiCfg")};
}

std::string HelpInstallation::shown(const std::string& path) const {
  const std::string prefix = appFolder + "\\";
  return !appFolder.empty() && path.starts_with(prefix) ? path.substr(prefix.size()) : path;
}

std::string lineWhere(const HelpInstallation& installation, const std::string& file, int line) {
  return installation.shown(file) + ":" + std::to_string(line);
}

std::vector<Finding> checkHelp(const HelpInstallation& installation) {
  Findings findings;
  std::error_code error;
  if (installation.appFolder.empty() ||
      !std::filesystem::is_directory(nativePath(installation.helpFolder), error)) {
    findings.problem(installation.helpFolder, installation.appFolder.empty()
                                                  ? "no application folder: the library is not "
                                                    "in a Binaries folder"
                                                  : "no Help folder");
    return findings.take();
  }
  ConfigSummary config = checkConfigFiles(installation, findings);
  const std::vector<std::string> domains =
      checkTopicFiles(installation, config.helpFiles, findings);
  checkDomainFolders(installation, domains, config, findings);
  checkCompiledHelpFiles(installation, config.helpFiles, findings);
  return findings.take();
}

} // namespace tsenv
