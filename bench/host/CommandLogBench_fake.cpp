// Command log throughput over the test double (registry in memory, the log a
// real file), against bare appends of the same line to the same file: the
// floor that any logger which opens, writes and closes per line pays.
#include "TsEnvironment.h"
#include "platform/Platform.h"
#include "platform/testing/FakeSystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

constexpr const char* kModulesKey = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules";
// The line LogCommandInfo("MyCommand", "Road", "") writes.
const std::string kLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

std::string backslashed(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// A user with the configuration Road, whose data folder is a fresh folder
// below the temporary folder, removed afterwards.
class BenchUser {
public:
  BenchUser() {
    std::filesystem::create_directories(dataFolder());
    tsen::fake::reset();
    tsen::fake::setKnownFolder(tsen::fake::KnownFolder::roamingAppData, backslashed(root_));
    tsen::fake::setString(tsen::platform::kCurrentUser,
                          "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services", "Current Config",
                          "Road");
    tsen::fake::setString(tsen::platform::kCurrentUser, kModulesKey, "ActiveDomainKey", "Road");
  }
  ~BenchUser() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  BenchUser(const BenchUser&) = delete;
  BenchUser& operator=(const BenchUser&) = delete;

  std::filesystem::path log() const { return dataFolder() / "TessalineCommand.log"; }

private:
  std::filesystem::path dataFolder() const { return root_ / "Quarzel/Tessaline/18.40/Road"; }

  std::filesystem::path root_ =
      std::filesystem::temp_directory_path() / ("tsen-bench-log-" + std::to_string(::getpid()));
};

void LogCommandInfoLine(benchmark::State& state) {
  const BenchUser user;
  const std::string domain = state.range(0) != 0 ? "*" : "Road";
  for (auto _ : state) {
    LogCommandInfo("MyCommand", domain, "");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LogCommandInfoLine)->ArgName("star")->Arg(0)->Arg(1);

void FloorAppendToFile(benchmark::State& state) {
  const BenchUser user;
  const std::string file = backslashed(user.log());
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

void SetLastTessalineCommand(benchmark::State& state) {
  const BenchUser user;
  if (state.range(0) == 0) {
    tsen::fake::setDword(tsen::platform::kCurrentUser, kModulesKey, "LogCommands", 0);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(setLastTessalineCommand("MyCommand"));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SetLastTessalineCommand)->ArgName("logging")->Arg(1)->Arg(0);

} // namespace
