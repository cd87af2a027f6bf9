// Calls the installed library through its header and prints what it
// answers: key paths, settings, folders, an expansion, a constant and the
// registry accessor's sharing. Built directly and over the C interface, both
// must print the same.
#include <TsEnvironment.h>

#include <cstdint>
#include <cstdio>

namespace {

void show(const char* what, const std::string& answer) {
  std::printf("%s=%s\n", what, answer.c_str());
}

HKEY currentUser() {
  return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));
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

  TsEnWinRegistry registry;
  TsEnLong unused = 0;
  const bool noKeyHeld = !registry.ReadLong("x", unused);
  const TsEnWinRegistry copy = registry;
  // The key opened through one accessor is the key of its copy.
  const bool created = registry.Create(currentUser(), "SOFTWARE\\TessalineConsumer");
  const bool written = TsEnWinRegistry(copy).WriteString("Value", "shared");
  std::string read;
  const bool shared = registry.ReadString("Value", read) && read == "shared";
  show("Accessor", std::to_string(noKeyHeld) + std::to_string(created) + std::to_string(written) +
                       std::to_string(shared));
  return key.ends_with("\\Tessaline modules") && noKeyHeld && shared ? 0 : 1;
}
