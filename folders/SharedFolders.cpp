// The folders shared by every user below the common files folder.
#include "TsEnvironment.h"

#include "platform/Platform.h"

std::string TsEnGetQuarzelSharedPath() {
  const auto common = tsen::platform::knownFolder(tsen::platform::KnownFolder::commonFiles);
  return common ? *common + "\\Quarzel Shared" : std::string();
}

std::string TsEnGetTessalineSharedPath() {
  return TsEnGetQuarzelSharedPath() + "\\Tessaline";
}
