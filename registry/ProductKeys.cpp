// The registry layout in force and the product's key paths.
#include "TsEnvironment.h"

#include "platform/Platform.h"

#include <string_view>

namespace {

constexpr std::string_view kRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
constexpr std::string_view kRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";
constexpr std::string_view kKernelServices = "\\Kernel Services";

std::string_view productRoot() {
  return TsEnQVRConnect() ? kRoot1901 : kRoot1840;
}

} // namespace

bool TsEnQVRConnect() {
  TsEnWinRegistry registry;
  TsEnLong flag = 0;
  return registry.OpenKey(tsen::platform::kCurrentUser, TsEnRegKeyQVRConnect, false) &&
         registry.ReadLong(TsEnRegValueQVRConnect, flag) && flag == 1;
}

std::string TsEnGetRegistryKey() {
  return std::string(productRoot());
}

std::string TsEnGetRegKeyKernelServices() {
  std::string key(productRoot());
  key += kKernelServices;
  return key;
}

std::string TsEnBuildRegKey(const std::string& subKey) {
  std::string key(productRoot());
  key += '\\';
  key += subKey;
  return key;
}

std::string TsEnGetCurrentConfig() {
  std::string config;
  TsEnWinRegistry registry;
  if (registry.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false)) {
    registry.ReadString(TsEnRegValueCurrentConfig, config);
  }
  return config;
}
