// Reading one registry value through the library's accessor, and naming
// where it lives, so that every answer can be shown with its origin.
#pragma once

#include "TsEnvironment.h"

#include "session/ModulesKey.h"

#include <optional>
#include <string>

namespace tsenv {

enum class Hive { currentUser, localMachine };

HKEY hiveHandle(Hive hive);
const char* hiveName(Hive hive);

// "HKEY_CURRENT_USER\<key>\<value>", as a user finds it in a registry editor.
std::string settingLocation(Hive hive, const std::string& key, const std::string& value);

// The value as text, nothing when the key or the value is missing.
std::optional<std::string> readText(Hive hive, const std::string& key, const std::string& value);
// The value as a 32-bit number, nothing when it cannot be read as one.
std::optional<TsEnLong> readNumber(Hive hive, const std::string& key, const std::string& value);

// Where the settings of the layout in force live.
std::string kernelServicesKey();
using tsen::modulesKey;

// The command log switch as the library reads it, and the value behind it.
struct LogSwitch {
  bool on = true;
  std::optional<TsEnLong> stored;
};
LogSwitch readLogSwitch();

} // namespace tsenv
