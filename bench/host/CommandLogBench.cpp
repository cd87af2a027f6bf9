// Command log throughput, in both programs: LogCommandInfo against bare
// appends of the same line to the same file, the floor that any logger which
// opens, writes and closes per line pays.
#include "TsEnvironment.h"
#include "bench/host/Backend.h"
#include "platform/Platform.h"
#include "testsupport/Scratch.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

// The line LogCommandInfo("MyCommand", "Road", "") writes.
const std::string kLogLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

// A user of a fresh folder with the 18.40 layout, the configuration and
// active domain Road, and the log where the library puts it.
struct LogUser {
  LogUser() {
    tsen::bench::selectUser(folder.path());
    TsEnWinRegistry flag, kernel;
    flag.OpenKey(tsen::platform::kCurrentUser, TsEnRegKeyQVRConnect, true);
    flag.WriteLong(TsEnRegValueQVRConnect, 0);
    kernel.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), true);
    kernel.WriteString(TsEnRegValueCurrentConfig, "Road");
    setActiveTessalineDomain("Road");
    std::filesystem::create_directories(log.parent_path());
  }
  const tsen::testsupport::ScratchFolder folder{"tsen-bench-log-"};
  const std::filesystem::path log =
      folder.path() / "Quarzel/Tessaline/18.40/Road/TessalineCommand.log";
};

void logCommandInfo(benchmark::State& state) {
  const LogUser user;
  for (auto _ : state) {
    LogCommandInfo("MyCommand", "Road", "");
  }
  if (!std::filesystem::exists(user.log)) {
    state.SkipWithError("no log written");
  }
}
BENCHMARK(logCommandInfo)->Name("LogCommandInfo");

void floorAppendToFile(benchmark::State& state) {
  const LogUser user;
  const std::string file = tsen::testsupport::backslashed(user.log);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tsen::platform::appendToFile(file, kLogLine));
  }
}
BENCHMARK(floorAppendToFile)->Name("appendToFile (open, lock, write, close)");

void floorFopenAppend(benchmark::State& state) {
  const LogUser user;
  for (auto _ : state) {
    if (std::FILE* out = std::fopen(user.log.c_str(), "a")) {
      std::fputs(kLogLine.c_str(), out);
      std::fclose(out);
    }
  }
}
BENCHMARK(floorFopenAppend)->Name("fopen, fputs, fclose");

} // namespace
