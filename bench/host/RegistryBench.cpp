// TsEnGetCurrentConfig over the real registry file, beside the bare platform
// calls it must make (two keys opened, queried and closed), with a registry
// file of a thousand keys. The parsed file is reused while it is unchanged:
// the benchmark fails if a read parses it again.
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

constexpr const char* kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// A registry file of this run's own: the product keys among a thousand others.
class ThousandKeyRegistry {
public:
  ThousandKeyRegistry()
      : folder_(std::filesystem::temp_directory_path() /
                ("tsen-registry-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    const auto file = folder_ / "registry.reg";
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
  ~ThousandKeyRegistry() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

private:
  std::filesystem::path folder_;
};

const ThousandKeyRegistry registryFile;

bool readNumber(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (!platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    return false;
  }
  std::int32_t number = 0;
  std::uint32_t size = sizeof number;
  const bool read = platform::regQueryValue(opened, name, nullptr, &number, size);
  platform::regCloseKey(opened);
  return read && number == 0;
}

std::string readText(const char* key, const char* name) {
  HKEY opened = nullptr;
  std::string text;
  if (platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (platform::regQueryValue(opened, name, &type, nullptr, size)) {
      text.resize(size);
      platform::regQueryValue(opened, name, &type, text.data(), size);
    }
    platform::regCloseKey(opened);
  }
  return text;
}

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
  readText(kKernel, "Current Config");
  const std::uint64_t parses = tsen::platform::portable::RegistryStore::instance().parseCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(readNumber(kQvrKey, "QVRConnect"));
    benchmark::DoNotOptimize(readText(kKernel, "Current Config"));
  }
  checkNoReparse(state, parses);
}
BENCHMARK(BM_BareRegistryCalls);

} // namespace
