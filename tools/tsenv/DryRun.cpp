#include "tools/tsenv/DryRun.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstdlib>
#else
#include <cstdlib>
#endif

namespace tsenv {

void enableDryRun() {
#if defined(_WIN32)
  // Both copies: the process environment block and the C runtime's own.
  SetEnvironmentVariableA("TSEN_DRY_RUN", "1");
  static char assignment[] = "TSEN_DRY_RUN=1";
  _putenv(assignment);
#else
  ::setenv("TSEN_DRY_RUN", "1", 1);
#endif
}

} // namespace tsenv
