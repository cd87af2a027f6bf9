// The registry key of the suite's shared session state.
#pragma once

#include "TsEnvironment.h"

namespace tsen {

// The product key root of the layout in force, then "Tessaline modules".
inline std::string modulesKey() {
  return TsEnBuildRegKey(TsEnRegKeyModules);
}

} // namespace tsen
