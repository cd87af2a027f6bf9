// The active domain and the last command, shared by every module and process
// of the user through the registry.
#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "session/ModulesKey.h"

namespace {

std::string readModulesValue(const std::string& valueName) {
  std::string text;
  TsEnWinRegistry registry;
  if (registry.OpenKey(tsen::platform::kCurrentUser, tsen::modulesKey(), false) &&
      !registry.ReadString(valueName, text)) {
    text.clear();
  }
  return text;
}

// Stores a non-empty text, creating the modules key when it is missing.
bool writeModulesValue(const std::string& valueName, const std::string& text) {
  if (text.empty()) {
    return false;
  }
  TsEnWinRegistry registry;
  return registry.OpenKey(tsen::platform::kCurrentUser, tsen::modulesKey(), true) &&
         registry.WriteString(valueName, text);
}

} // namespace

std::string getActiveTessalineDomain() {
  return readModulesValue(TsEnRegValueActiveDomain);
}

std::string getLastTessalineCommand() {
  return readModulesValue(TsEnRegValueLastCommand);
}

bool setActiveTessalineDomain(const std::string& domain) {
  return writeModulesValue(TsEnRegValueActiveDomain, domain);
}

bool setLastTessalineCommand(const std::string& command) {
  if (!writeModulesValue(TsEnRegValueLastCommand, command)) {
    return false;
  }
  LogCommandInfo(command, "*", "");
  return true;
}

bool setLastTessalineCommand(const std::string& command, const std::string& domain) {
  // A stored domain stays stored when the command then fails.
  return setActiveTessalineDomain(domain) && setLastTessalineCommand(command);
}
