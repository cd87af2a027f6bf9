// TsEnGetUserDataPath over the real registry file, beside the bare platform
// calls it makes, call for call: what the library adds on top (accessor
// objects, key paths, string building) should cost little.
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

constexpr const char* kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// A registry file and roaming folder of this run's own, named before the
// first registry call and removed at exit. The connection flag is there
// (set to 0), so every open and query the library makes succeeds.
class ScratchSystem {
public:
  ScratchSystem()
      : folder_(std::filesystem::temp_directory_path() /
                ("tsen-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    ::setenv("TSEN_REGISTRY", (folder_ / "registry.reg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    const std::int32_t off = 0;
    const std::string config = "Road";
    ready_ = setValue(kQvrKey, "QVRConnect", platform::kRegDword, &off, sizeof off) &&
             setValue(kKernel, "Current Config", platform::kRegSz, config.c_str(),
                      static_cast<std::uint32_t>(config.size() + 1));
  }
  ~ScratchSystem() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ScratchSystem(const ScratchSystem&) = delete;
  ScratchSystem& operator=(const ScratchSystem&) = delete;

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

  std::filesystem::path folder_;
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

// The connection flag, as TsEnQVRConnect reads it.
void readConnectionFlag() {
  HKEY key = nullptr;
  if (platform::regOpenKey(platform::kCurrentUser, kQvrKey, key)) {
    std::int32_t flag = 0;
    std::uint32_t size = sizeof flag;
    platform::regQueryValue(key, "QVRConnect", nullptr, &flag, size);
    benchmark::DoNotOptimize(flag);
    platform::regCloseKey(key);
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
    readConnectionFlag();
    readConnectionFlag();
    HKEY key = nullptr;
    if (platform::regOpenKey(platform::kCurrentUser, kKernel, key)) {
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      platform::regQueryValue(key, "Current Config", &type, nullptr, size);
      std::string config(size, '\0');
      platform::regQueryValue(key, "Current Config", &type, config.data(), size);
      benchmark::DoNotOptimize(config);
      platform::regCloseKey(key);
    }
  }
}

BENCHMARK(userDataPath)->Name("TsEnGetUserDataPath");
BENCHMARK(barePlatformCalls)->Name("TsEnGetUserDataPath/bare platform calls");

} // namespace
