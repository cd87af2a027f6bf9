// Asks the library's platform layer to show what it would open instead of
// opening it: message boxes, browser launches and the help viewer then each
// print one line to standard output and answer as if they had succeeded.
#pragma once

namespace tsenv {

// Sets TSEN_DRY_RUN=1 in this process's environment, where the library
// reads it.
void enableDryRun();

} // namespace tsenv
