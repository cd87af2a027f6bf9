// tsenv: shows which registry layout, key paths and configuration the
// library finds in force for the current user.
#include "TsEnvironment.h"

#include <cstdio>
#include <string>

namespace {

void show(const char* label, const std::string& value) {
  std::printf("%-24s %s\n", label, value.empty() ? "(none)" : value.c_str());
}

} // namespace

int main() {
  show("Registry layout", TsEnQVRConnect() ? "19.01 (QVR connection on)" : "18.40");
  show("Product key", "HKEY_CURRENT_USER\\" + TsEnGetRegistryKey());
  show("Kernel Services key", "HKEY_CURRENT_USER\\" + TsEnGetRegKeyKernelServices());
  show("Modules key", "HKEY_CURRENT_USER\\" + TsEnBuildRegKey("Tessaline modules"));
  show("Current configuration", TsEnGetCurrentConfig());
  return 0;
}
