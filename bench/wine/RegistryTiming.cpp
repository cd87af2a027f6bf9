// How much the configuration read costs over the bare registry calls it
// has to make: open the flag key, read the flag, close; open the Kernel
// Services key, read the value's size and then the value, close.
//   tsen_wine_registry_timing [ROUNDS]
#include "TsEnvironment.h"

#include "tests/wine/ProductKeysGuard.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

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

template <typename Read> double nanosecondsPerCall(int rounds, Read read) {
  std::size_t sink = 0;
  const auto start = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    sink += read().size();
  }
  const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
  if (sink == 0) {
    std::puts("(nothing read)");
  }
  return elapsed.count() / rounds;
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
  // Batches of the two alternate, and each keeps its fastest batch, so that
  // a busy machine slows neither side alone.
  constexpr int kBatches = 7;
  const int batchRounds = rounds / kBatches + 1;
  double library = 1e300;
  double bare = 1e300;
  for (int batch = 0; batch < kBatches; ++batch) {
    library = std::min(library, nanosecondsPerCall(batchRounds, TsEnGetCurrentConfig));
    bare = std::min(bare, nanosecondsPerCall(batchRounds, bareCurrentConfig));
  }
  std::printf("TsEnGetCurrentConfig  %10.0f ns/call\n", library);
  std::printf("bare Win32 calls      %10.0f ns/call\n", bare);
  std::printf("ratio                 %10.2f\n", library / bare);
  return 0;
}
