// Calls the installed library through its header and prints what it
// answers. Built directly and over the C interface, both must print the same.
#include <TsEnvironment.h>

#include <cstdio>

namespace {

void show(const char* what, const std::string& answer) {
  std::printf("%s=%s\n", what, answer.c_str());
}

} // namespace

int main() {
  const std::string key = TsEnBuildRegKey(TsEnRegKeyModules);
  show("BuildRegKey", key);
  show("QVRConnect", std::to_string(TsEnQVRConnect()));
  show("CurrentConfig", TsEnGetCurrentConfig());
  show("LanguageName", TsEnGetLanguageName());
  show("Version",
       TsEnGetCurrentVersionNumber() + " " + std::to_string(TsEnGetCurrentVersionNumberMajor()));
  show("TempPath", TsEnGetTempPath());
  show("BuildFilename", TsEnBuildFilename("<TEMP>\\" + TsEnTokenUserData, TsEnBaseNone, 0));
  show("ActiveDomain", getActiveTessalineDomain());
  // The key opened through one accessor is the key of its copy.
  TsEnWinRegistry registry;
  const TsEnWinRegistry copy = registry;
  std::string read;
  const bool shared = registry.Create(TSENC_HKEY_CURRENT_USER, "SOFTWARE\\TessalineConsumer") &&
                      TsEnWinRegistry(copy).WriteString("Value", "shared") &&
                      registry.ReadString("Value", read) && read == "shared";
  show("Accessor", std::to_string(shared));
  return key.ends_with("\\Tessaline modules") && shared ? 0 : 1;
}
