// The language code, read from the registry once and then kept.
#include "TsEnvironment.h"

#include "language/KeptLanguageCode.h"
#include "platform/Platform.h"
#include "support/OnceString.h"

namespace {

tsen::OnceString cachedCode;

} // namespace

const std::string& tsen::languageCode(std::string& found) {
  if (const std::string* code = cachedCode.get()) {
    return *code;
  }
  TsEnWinRegistry registry;
  if (!registry.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) ||
      !registry.ReadString(TsEnRegValueLanguage, found)) {
    found.clear();
    return found;
  }
  if (!found.empty() && found.back() == '\\') {
    found.pop_back();
  }
  // An empty code is not kept, so the registry is asked again next time.
  if (found.empty()) {
    return found;
  }
  return cachedCode.publish(std::move(found));
}

std::string TsEnGetLanguageCode() {
  std::string found;
  return std::string(tsen::languageCode(found));
}
