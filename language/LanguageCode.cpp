// The language code, read from the registry once and then kept.
#include "TsEnvironment.h"

#include "language/KeptLanguageCode.h"
#include "platform/Platform.h"
#include "support/OnceString.h"

namespace {

tsen::OnceString cachedCode;

} // namespace

const std::string& tsen::languageCode(std::string& found) {
  // An empty code is not kept, so the registry is asked again next time.
  return cachedCode.getOrFind(found, [](std::string& code) {
    TsEnWinRegistry registry;
    if (registry.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) &&
        registry.ReadString(TsEnRegValueLanguage, code) && !code.empty() && code.back() == '\\') {
      code.pop_back();
    }
  });
}

std::string TsEnGetLanguageCode() {
  std::string found;
  return std::string(tsen::languageCode(found));
}
