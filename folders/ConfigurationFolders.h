// The folders a per-user folder of the current configuration adds below its
// base folder (roaming application data, or the temporary folder).
#pragma once

#include <string>

namespace tsen {

// The maker's, the product's and the layout's folders, then the current
// configuration: "Quarzel\Tessaline\18.40\<configuration>", or
// "...\19.01\RA_Zora\<configuration>" in the 19.01 layout. Empty without a
// configuration.
std::string configurationFolders();

} // namespace tsen
