// The command log benchmarks, the same over any platform layer: LogCommandInfo
// against bare appends of the same line to the same file, the floor that any
// logger which opens, writes and closes per line pays; and
// setLastTessalineCommand with logging on and off. User sets up a user whose
// data folder is a fresh folder, with the configuration and active domain
// Road; it gives log(), the log's path as the library names it, and
// setLogging(on).
#pragma once

#include "TsEnvironment.h"
#include "bench/host/BenchSupport.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tsen::bench {

// The line LogCommandInfo("MyCommand", "Road", "") writes.
inline const std::string kLogLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

template <typename User> void registerCommandLogBenchmarks() {
  benchmark::RegisterBenchmark("LogCommandInfoLine",
                               [](benchmark::State& state) {
                                 const User user;
                                 const std::string domain = state.range(0) != 0 ? "*" : "Road";
                                 for (auto _ : state) {
                                   LogCommandInfo("MyCommand", domain, "");
                                 }
                                 if (!std::filesystem::exists(user.log())) {
                                   state.SkipWithError("no log written");
                                 }
                                 state.SetItemsProcessed(state.iterations());
                               })
      ->ArgName("star")
      ->Arg(0)
      ->Arg(1);

  benchmark::RegisterBenchmark("FloorAppendToFile", [](benchmark::State& state) {
    const User user;
    const std::string file = backslashed(user.log());
    for (auto _ : state) {
      benchmark::DoNotOptimize(tsen::platform::appendToFile(file, kLogLine));
    }
    state.SetItemsProcessed(state.iterations());
  });

  benchmark::RegisterBenchmark("FloorFopenAppend", [](benchmark::State& state) {
    const User user;
    const std::string file = user.log().string();
    for (auto _ : state) {
      std::FILE* out = std::fopen(file.c_str(), "a");
      if (out != nullptr) {
        std::fputs(kLogLine.c_str(), out);
        std::fclose(out);
      }
    }
    state.SetItemsProcessed(state.iterations());
  });

  benchmark::RegisterBenchmark("SetLastTessalineCommand",
                               [](benchmark::State& state) {
                                 const User user;
                                 User::setLogging(state.range(0) != 0);
                                 for (auto _ : state) {
                                   benchmark::DoNotOptimize(setLastTessalineCommand("MyCommand"));
                                 }
                                 state.SetItemsProcessed(state.iterations());
                               })
      ->ArgName("logging")
      ->Arg(1)
      ->Arg(0);
}

// A user's scratch folder, with the log where the library puts it for the
// configuration Road.
class LogUserRoot : public ScratchRoot {
public:
  using ScratchRoot::ScratchRoot;
  std::filesystem::path log() const {
    return path() / "Quarzel/Tessaline/18.40/Road/TessalineCommand.log";
  }
};

} // namespace tsen::bench
