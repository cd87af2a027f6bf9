// What the per-user folders of the current configuration add below their base.
#pragma once

#include <string>

namespace tsen {

// "Quarzel\Tessaline\18.40\<configuration>", or "...\19.01\RA_Zora\<configuration>"
// in the 19.01 layout; empty without a configuration.
std::string configurationFolders();

} // namespace tsen
