// TsEnGetCurrentConfig over the real registry file, beside the bare platform
// calls it must make (two keys opened, queried and closed), with a registry
// file of a thousand keys. The parsed file is reused while it is unchanged:
// the benchmark fails if a read parses it again.
#include "bench/host/BenchSupport.h"
#include "platform/Platform.h"
#include "platform/portable/RegistryStore.h"

#include "TsEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace platform = tsen::platform;

using tsen::bench::kKernel;
using tsen::bench::kQvrKey;

// A registry file of this run's own: the product keys among a thousand others.
class ThousandKeyRegistry : public tsen::bench::ScratchRoot {
public:
  ThousandKeyRegistry() : ScratchRoot("tsen-registry-bench-") {
    const auto file = path() / "registry.reg";
    std::ofstream reg(file, std::ios::binary);
    reg << "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int key = 0; key < 998; ++key) {
      reg << "[HKEY_CURRENT_USER\\SOFTWARE\\Vendor" << key % 10 << "\\Product" << key << "]\r\n"
          << "\"Name\"=\"Value " << key << "\"\r\n\"Count\"=dword:" << std::hex << key << std::dec
          << "\r\n\r\n";
    }
    reg << "[HKEY_CURRENT_USER\\" << kQvrKey << "]\r\n\"QVRConnect\"=dword:00000000\r\n\r\n"
        << "[HKEY_CURRENT_USER\\" << kKernel << "]\r\n\"Current Config\"=\"Road\"\r\n";
    reg.close();
    ::setenv("TSEN_REGISTRY", file.c_str(), 1);
  }
};

const ThousandKeyRegistry registryFile;

// Counted as well as checked, so that the report shows the count it relies on.
void checkNoReparse(benchmark::State& state, std::uint64_t parsesBefore) {
  const std::uint64_t reparses =
      tsen::platform::portable::RegistryStore::instance().parseCount() - parsesBefore;
  state.counters["reparses"] = static_cast<double>(reparses);
  if (reparses != 0) {
    state.SkipWithError("an unchanged registry file was parsed again");
  }
}

void BM_GetCurrentConfig(benchmark::State& state) {
  if (TsEnGetCurrentConfig() != "Road") {
    state.SkipWithError("the registry file was not read");
    return;
  }
  const std::uint64_t parses = tsen::platform::portable::RegistryStore::instance().parseCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(TsEnGetCurrentConfig());
  }
  checkNoReparse(state, parses);
}
BENCHMARK(BM_GetCurrentConfig);

void BM_BareRegistryCalls(benchmark::State& state) {
  tsen::bench::bareReadText(kKernel, "Current Config");
  const std::uint64_t parses = tsen::platform::portable::RegistryStore::instance().parseCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tsen::bench::bareReadNumber(kQvrKey, "QVRConnect"));
    benchmark::DoNotOptimize(tsen::bench::bareReadText(kKernel, "Current Config"));
  }
  checkNoReparse(state, parses);
}
BENCHMARK(BM_BareRegistryCalls);

} // namespace
