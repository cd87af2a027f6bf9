// How much the configuration read costs over the bare registry calls it
// has to make: open the flag key, read the flag, close; open the Kernel
// Services key, read the value's size and then the value, close.
//   tsen_wine_registry_timing [ROUNDS]
#include "TsEnvironment.h"

#include "bench/wine/Timing.h"
#include "tests/wine/ProductKeysGuard.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string bareCurrentConfig() {
  using namespace tsen::testing;
  DWORD flag = 0;
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, kFlagKey, &key) == ERROR_SUCCESS) {
    DWORD size = sizeof flag;
    RegQueryValueExA(key, kFlagValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&flag), &size);
    RegCloseKey(key);
  }
  std::string config;
  if (RegOpenKeyA(HKEY_CURRENT_USER, flag == 1 ? kKernel1901 : kKernel1840, &key) ==
      ERROR_SUCCESS) {
    DWORD size = 0;
    if (RegQueryValueExA(key, "Current Config", nullptr, nullptr, nullptr, &size) ==
        ERROR_SUCCESS) {
      config.resize(size);
      RegQueryValueExA(key, "Current Config", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(config.data()), &size);
      config.resize(config.find('\0') == std::string::npos ? size : config.find('\0'));
    }
    RegCloseKey(key);
  }
  return config;
}

} // namespace

int main(int argc, char** argv) {
  using namespace tsen::testing;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5000;
  if (rounds <= 0) {
    return 2;
  }
  const ProductKeysGuard guard;
  if (!setFlag(0) || !writeRaw(HKEY_CURRENT_USER, kKernel1840, "Current Config", REG_SZ,
                               bytesOf(std::string("Road", 5)))) {
    std::fputs("cannot prepare the registry\n", stderr);
    return 1;
  }
  if (TsEnGetCurrentConfig() != "Road" || bareCurrentConfig() != "Road") {
    std::fputs("the two reads disagree\n", stderr);
    return 1;
  }
  const auto [library, bare] =
      tsen::bench::fastestAlternating(rounds, 7, TsEnGetCurrentConfig, bareCurrentConfig);
  std::printf("TsEnGetCurrentConfig  %10.0f ns/call\n", library);
  std::printf("bare Win32 calls      %10.0f ns/call\n", bare);
  std::printf("ratio                 %10.2f\n", library / bare);
  return 0;
}
