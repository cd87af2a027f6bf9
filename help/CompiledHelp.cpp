// TsEnHelp: the help wiki first; compiled help in the user's language, with
// English as the fallback, when the wiki does not take the request.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "help/ConfigLines.h"
#include "platform/Platform.h"
#include "support/FormatLimited.h"

namespace tsen::help {
namespace {

// Formatted like the help messages' 512-character buffer: a longer text is
// cut at its end, never written past it.
[[gnu::format(printf, 1, 2)]] void tellUser(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::string text = formatLimited(512, format, arguments);
  va_end(arguments);
  showMessage(text, "Tessaline help", platform::kMbOk | platform::kMbIconWarning);
}

bool TryWikiHelp(int topic, const std::string& helpName) {
  const auto language = WikiLanguageOf(getActiveTessalineDomain(), true);
  const std::string page = language ? FindWikiPageForHelp(topic, helpName) : std::string();
  if (page.empty()) {
    return false;
  }
  // A found page is handled, even when its launch fails: the launch tells.
  LaunchWikiPage(page, *language);
  return true;
}

} // namespace

void ShowCompiledHelp(int topic, const std::string& helpName) {
  const std::string english = compiledHelpFile("Help\\Eng\\", helpName);
  std::string file = compiledHelpFile("Help\\<LANGCODE>\\", helpName);
  if (!platform::canRead(file)) {
    if (!platform::canRead(english)) {
      tellUser("Unable to find help file \"%s\" !\n\nTried to load English version \"%s\", but "
               "was not found either.",
               file.c_str(), english.c_str());
    }
    file = english;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    const bool shown = topic == 0 ? openHelp(file, platform::kHhDisplayToc, 0)
                                  : openHelp(file, platform::kHhHelpContext, std::intptr_t{topic});
    if (shown) {
      return;
    }
    if (topic == 0) {
      tellUser("Unable to start help file \"%s\" !", file.c_str());
      return;
    }
    // An unknown topic: say so, then offer the English contents.
    tellUser("Unable to find topic \"%d\" in help file \"%s\" !", topic, file.c_str());
    file = english;
    topic = 0;
  }
}

} // namespace tsen::help

void TsEnHelp(int topic, const std::string& helpName) {
  if (!tsen::help::TryWikiHelp(topic, helpName)) {
    tsen::help::ShowCompiledHelp(topic, helpName);
  }
}
