// TsEnGetUserDataPath over the real registry file, beside the bare platform
// calls it makes, call for call: what the library adds on top (accessor
// objects, key paths, string building) should cost little.
#include "bench/host/BenchSupport.h"
#include "platform/Platform.h"

#include "TsEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

namespace platform = tsen::platform;

using tsen::bench::kKernel;
using tsen::bench::kQvrKey;

// A registry file and roaming folder of this run's own, named before the
// first registry call and removed at exit. The connection flag is there
// (set to 0), so every open and query the library makes succeeds.
class ScratchSystem : public tsen::bench::ScratchRoot {
public:
  ScratchSystem() : ScratchRoot("tsen-bench-") {
    ::setenv("TSEN_REGISTRY", (path() / "registry.reg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", path().c_str(), 1);
    const std::int32_t off = 0;
    const std::string config = "Road";
    ready_ = setValue(kQvrKey, "QVRConnect", platform::kRegDword, &off, sizeof off) &&
             setValue(kKernel, "Current Config", platform::kRegSz, config.c_str(),
                      static_cast<std::uint32_t>(config.size() + 1));
  }

  bool ready() const { return ready_; }

private:
  static bool setValue(const char* keyPath, const char* name, std::uint32_t type, const void* data,
                       std::uint32_t size) {
    HKEY key = nullptr;
    if (!platform::regCreateKey(platform::kCurrentUser, keyPath, key)) {
      return false;
    }
    const bool set = platform::regSetValue(key, name, type, data, size);
    return platform::regCloseKey(key) && set;
  }

  bool ready_ = false;
};

bool systemReady(benchmark::State& state) {
  static const ScratchSystem system;
  if (!system.ready() || TsEnGetUserDataPath().empty()) {
    state.SkipWithError("the scratch registry could not be set up");
    return false;
  }
  return true;
}

void userDataPath(benchmark::State& state) {
  if (!systemReady(state)) {
    return;
  }
  for (auto _ : state) {
    std::string path = TsEnGetUserDataPath();
    benchmark::DoNotOptimize(path);
  }
}

// The roaming folder; the flag for the version segment; the flag again for
// the Kernel Services key path; the configuration, its size first.
void barePlatformCalls(benchmark::State& state) {
  if (!systemReady(state)) {
    return;
  }
  for (auto _ : state) {
    auto roaming = platform::knownFolder(platform::KnownFolder::roamingAppData);
    benchmark::DoNotOptimize(roaming);
    benchmark::DoNotOptimize(tsen::bench::bareReadNumber(kQvrKey, "QVRConnect"));
    benchmark::DoNotOptimize(tsen::bench::bareReadNumber(kQvrKey, "QVRConnect"));
    benchmark::DoNotOptimize(tsen::bench::bareReadText(kKernel, "Current Config"));
  }
}

BENCHMARK(userDataPath)->Name("TsEnGetUserDataPath");
BENCHMARK(barePlatformCalls)->Name("TsEnGetUserDataPath/bare platform calls");

} // namespace
