// The command log benchmarks, the same over any platform layer: LogCommandInfo
// against bare appends of the same line to the same file, the floor that any
// logger which opens, writes and closes per line pays; and
// setLastTessalineCommand with logging on and off. User sets up a user whose
// data folder is a fresh folder, with the configuration and active domain
// Road; it gives log(), the log's path as the library names it, and
// setLogging(on).
#pragma once

#include "TsEnvironment.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tsen::bench {

// The line LogCommandInfo("MyCommand", "Road", "") writes.
inline const std::string kLogLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

inline std::string backslashed(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

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

// A fresh folder below the temporary folder, removed with it.
class ScratchRoot {
public:
  explicit ScratchRoot(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / name) {}
  ~ScratchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path log() const {
    return path_ / "Quarzel/Tessaline/18.40/Road/TessalineCommand.log";
  }

private:
  std::filesystem::path path_;
};

} // namespace tsen::bench
