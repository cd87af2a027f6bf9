// Wiki help: the page of a topic, its address composed from the help
// settings, opened in the user's browser; compiled help where the settings
// ask for it.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "help/HelpInternal.h"
#include "help/WikiSettings.h"
#include "platform/Platform.h"

namespace tsen::help {

const std::string_view kDefaultBaseUrl = TSEN_HELP_BASE_URL;

namespace {

void RunWikiHelp(int topic, bool useExceptions) {
  const std::string domain = getActiveTessalineDomain();
  if (const auto language = WikiLanguageOf(domain, useExceptions)) {
    // Without a page the wiki's start page opens.
    LaunchWikiPage(FindWikiPage(topic), *language);
    return;
  }
  int helpTopic = -1;
  std::string helpName;
  if (FindCompiledHelpTopic(topic, helpTopic, helpName)) {
    ShowCompiledHelp(helpTopic, helpName);
    return;
  }
  // The contents of the domain's default help file.
  ReadHelpDefault(domain, helpName);
  ShowCompiledHelp(0, helpName);
}

} // namespace

std::optional<std::string> WikiLanguageOf(const std::string& domain, bool useExceptions) {
  std::string language = TsEnGetLanguageCode();
  const int exception = useExceptions ? ReadWikiException(domain, language) : ExceptionNone;
  if (exception == ExceptionUseChm) {
    return std::nullopt;
  }
  return exception == ExceptionLanguage ? language : std::string();
}

std::string ReadWikiPlatform(bool* fromMachine) {
  const std::string kernelServices = TsEnGetRegKeyKernelServices();
  std::string platformName(kDefaultPlatform);
  // The machine's platform serves only users without settings of their own.
  TsEnWinRegistry key;
  const bool user = key.OpenKey(platform::kCurrentUser, kernelServices, false);
  if (user || key.OpenKey(platform::kLocalMachine, kernelServices, false)) {
    key.ReadString(kHelpPlatform, platformName);
  }
  if (fromMachine != nullptr) {
    *fromMachine = !user;
  }
  return platformName;
}

void LaunchWikiPage(const std::string& page, const std::string& language) {
  // An accessor that opened no key reads nothing and leaves each default.
  TsEnWinRegistry user;
  user.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false);
  std::string wikiLanguage;
  user.ReadString(kHelpLanguageCode, wikiLanguage);
  if (wikiLanguage.empty()) {
    wikiLanguage = !language.empty() ? language : ReadWikiLanguageMapping();
  }
  if (wikiLanguage.empty()) {
    wikiLanguage = kDefaultWikiLanguage;
  }

  std::string address(kDefaultBaseUrl);
  user.ReadString(kHelpBaseUrl, address);
  if (!address.ends_with('/')) {
    address += '/';
  }
  address += "doku.php/" + wikiLanguage + ':' + ReadWikiPlatform() + ':' +
             (page.empty() ? std::string(kStartPage) : page);
  if (openAddress(address) <= 32) {
    showMessage("Failed executing Wiki url (ShellExecute).", "Tessaline",
                platform::kMbOk | platform::kMbIconInformation);
  }
}

} // namespace tsen::help

void TsEnWikiHelp(int topic) {
  tsen::help::RunWikiHelp(topic, true);
}

void TsEnWikiHelpOnly(int topic) {
  tsen::help::RunWikiHelp(topic, false);
}
