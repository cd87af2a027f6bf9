// The registry key of the suite's shared session state.
#pragma once

#include "TsEnvironment.h"

namespace tsen {

// The product key root of the layout in force, then "Tessaline modules".
inline std::string modulesKey() {
  return TsEnBuildRegKey(TsEnRegKeyModules);
}

// The command log switch: on unless "LogCommands" reads as a number other
// than 1; a value that cannot be read as a number counts as missing.
bool loggingIsOn();

inline constexpr const char* kCommandLogFile = "<USERDATA>\\TessalineCommand.log";

} // namespace tsen
