// Command log throughput over the real portable layer: the registry file, the
// XDG folders, the log a real file.
#include "bench/host/CommandLogCases.h"

#include <cstdlib>

namespace {

// The layer reads the environment at every call, so each benchmark may make
// its own user.
class BenchUser : public tsen::bench::LogUserRoot {
public:
  BenchUser() : LogUserRoot("tsen-bench-log-real-") {
    std::filesystem::create_directories(log().parent_path());
    ::setenv("XDG_CONFIG_HOME", path().c_str(), 1);
    ::setenv("TSEN_REGISTRY", (path() / "registry.reg").c_str(), 1);
    TsEnWinRegistry kernel;
    kernel.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), true);
    kernel.WriteString(TsEnRegValueCurrentConfig, "Road");
    setActiveTessalineDomain("Road");
  }

  // Each write rewrites the registry file, so setLastTessalineCommand
  // measures the store far more than the log.
  static void setLogging(bool on) {
    TsEnWinRegistry modules;
    modules.OpenKey(tsen::platform::kCurrentUser, TsEnBuildRegKey(TsEnRegKeyModules), true);
    modules.WriteLong(TsEnRegValueLogCommands, on ? 1 : 0);
  }
};

const bool registered = (tsen::bench::registerCommandLogBenchmarks<BenchUser>(), true);

} // namespace
