#include "tools/tsenv/Settings.h"

#include "platform/Platform.h"
#include "session/ModulesKey.h"

namespace tsenv {

HKEY hiveHandle(Hive hive) {
  return hive == Hive::currentUser ? tsen::platform::kCurrentUser : tsen::platform::kLocalMachine;
}

const char* hiveName(Hive hive) {
  return hive == Hive::currentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string settingLocation(Hive hive, const std::string& key, const std::string& value) {
  std::string location = hiveName(hive);
  location += '\\';
  location += key;
  location += '\\';
  location += value;
  return location;
}

std::optional<std::string> readText(Hive hive, const std::string& key, const std::string& value) {
  TsEnWinRegistry registry;
  std::string text;
  if (!registry.OpenKey(hiveHandle(hive), key, false) || !registry.ReadString(value, text)) {
    return std::nullopt;
  }
  return text;
}

std::optional<TsEnLong> readNumber(Hive hive, const std::string& key, const std::string& value) {
  TsEnWinRegistry registry;
  TsEnLong number = 0;
  if (!registry.OpenKey(hiveHandle(hive), key, false) || !registry.ReadLong(value, number)) {
    return std::nullopt;
  }
  return number;
}

std::string kernelServicesKey() {
  return TsEnGetRegKeyKernelServices();
}

LogSwitch readLogSwitch() {
  return {tsen::loggingIsOn(),
          readNumber(Hive::currentUser, modulesKey(), TsEnRegValueLogCommands)};
}

} // namespace tsenv
