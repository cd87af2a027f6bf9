// The registry layout in force and the product's key paths.
#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "registry/ProductKeys.h"

bool TsEnQVRConnect() {
  TsEnWinRegistry registry;
  TsEnLong flag = 0;
  return registry.OpenKey(tsen::platform::kCurrentUser, TsEnRegKeyQVRConnect, false) &&
         registry.ReadLong(TsEnRegValueQVRConnect, flag) && flag == 1;
}

std::string TsEnGetRegistryKey() {
  return std::string(TsEnQVRConnect() ? tsen::kProductRoot1901 : tsen::kProductRoot1840);
}

std::string TsEnGetRegKeyKernelServices() {
  return TsEnBuildRegKey(std::string(tsen::kKernelServices));
}

std::string TsEnBuildRegKey(const std::string& subKey) {
  return TsEnGetRegistryKey() + '\\' + subKey;
}

std::string TsEnGetCurrentConfig() {
  std::string config;
  TsEnWinRegistry registry;
  if (registry.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false)) {
    registry.ReadString(TsEnRegValueCurrentConfig, config);
  }
  return config;
}
