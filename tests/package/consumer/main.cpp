// Calls the installed library through its header: a key path, the registry
// accessor and a constant must all link and answer.
#include <TsEnvironment.h>

#include <cstdio>

int main() {
  const std::string key = TsEnBuildRegKey(TsEnRegKeyModules);
  TsEnWinRegistry registry;
  TsEnLong unused = 0;
  const bool noKeyHeld = !registry.ReadLong("x", unused);
  std::printf("%s\n", key.c_str());
  return key.ends_with("\\Tessaline modules") && noKeyHeld ? 0 : 1;
}
