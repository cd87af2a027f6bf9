// Command log throughput over the real portable layer (the registry file, the
// XDG folders, the log a real file), against bare appends of the same line to
// the same file.
#include "TsEnvironment.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// The line LogCommandInfo("MyCommand", "Road", "") writes.
const std::string kLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

// A user of its own: the configuration folder and the registry file below a
// fresh folder in the temporary folder, removed afterwards. The layer reads
// the environment at every call, so each benchmark may make its own.
class BenchUser {
public:
  BenchUser() {
    std::filesystem::create_directories(dataFolder());
    ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    ::setenv("TSEN_REGISTRY", (root_ / "registry.reg").c_str(), 1);
    TsEnWinRegistry kernel;
    kernel.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), true);
    kernel.WriteString(TsEnRegValueCurrentConfig, "Road");
    setActiveTessalineDomain("Road");
  }
  ~BenchUser() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  BenchUser(const BenchUser&) = delete;
  BenchUser& operator=(const BenchUser&) = delete;

  std::filesystem::path log() const { return dataFolder() / "TessalineCommand.log"; }

  static void setLogging(bool on) {
    TsEnWinRegistry modules;
    modules.OpenKey(tsen::platform::kCurrentUser, TsEnBuildRegKey(TsEnRegKeyModules), true);
    modules.WriteLong(TsEnRegValueLogCommands, on ? 1 : 0);
  }

private:
  std::filesystem::path dataFolder() const { return root_ / "Quarzel/Tessaline/18.40/Road"; }

  std::filesystem::path root_ = std::filesystem::temp_directory_path() /
                                ("tsen-bench-log-real-" + std::to_string(::getpid()));
};

void LogCommandInfoLine(benchmark::State& state) {
  const BenchUser user;
  const std::string domain = state.range(0) != 0 ? "*" : "Road";
  for (auto _ : state) {
    LogCommandInfo("MyCommand", domain, "");
  }
  if (!std::filesystem::exists(user.log())) {
    state.SkipWithError("no log written");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LogCommandInfoLine)->ArgName("star")->Arg(0)->Arg(1);

void FloorAppendToFile(benchmark::State& state) {
  const BenchUser user;
  const std::string file = user.log().string();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tsen::platform::appendToFile(file, kLine));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FloorAppendToFile);

void FloorFopenAppend(benchmark::State& state) {
  const BenchUser user;
  const std::string file = user.log().string();
  for (auto _ : state) {
    std::FILE* out = std::fopen(file.c_str(), "a");
    if (out != nullptr) {
      std::fputs(kLine.c_str(), out);
      std::fclose(out);
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FloorFopenAppend);

// Each call rewrites the registry file, so this measures the store far more
// than the log.
void SetLastTessalineCommand(benchmark::State& state) {
  const BenchUser user;
  BenchUser::setLogging(state.range(0) != 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(setLastTessalineCommand("MyCommand"));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SetLastTessalineCommand)->ArgName("logging")->Arg(1)->Arg(0);

} // namespace
