// The language code, read from the registry once and then kept.
#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "support/OnceString.h"

namespace {

tsen::OnceString cachedCode;

} // namespace

std::string TsEnGetLanguageCode() {
  if (const std::string* code = cachedCode.get()) {
    return *code;
  }
  TsEnWinRegistry registry;
  std::string code;
  if (!registry.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) ||
      !registry.ReadString(TsEnRegValueLanguage, code)) {
    return {};
  }
  if (!code.empty() && code.back() == '\\') {
    code.pop_back();
  }
  // An empty code is not kept, so the registry is asked again next time.
  if (code.empty()) {
    return code;
  }
  return cachedCode.publish(std::move(code));
}
