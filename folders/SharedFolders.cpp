// The folders shared by every user below the common files folder.
#include "TsEnvironment.h"

#include "platform/Platform.h"

std::string TsEnGetQuarzelSharedPath() {
  std::optional<std::string> common =
      tsen::platform::knownFolder(tsen::platform::KnownFolder::commonFiles);
  if (!common) {
    return {};
  }
  return *common + "\\Quarzel Shared";
}

std::string TsEnGetTessalineSharedPath() {
  return TsEnGetQuarzelSharedPath() + "\\Tessaline";
}
