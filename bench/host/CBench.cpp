// A call through the C interface next to the direct export, for an answer of
// the application folder's size: the library lies in a Binaries folder, so
// the folder is found once and then handed out from the cache.
#include "TsEnvironment.h"

#include <benchmark/benchmark.h>

std::string appPathOverC();

namespace {

__attribute__((noinline)) std::string appPathDirect() {
  return TsEnGetAppPath();
}

template <std::string (*Call)()> void appPath(benchmark::State& state) {
  if (Call().size() < 16) { // longer than any text kept inside std::string itself
    state.SkipWithError("the library is not in a Binaries folder");
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(Call());
  }
}
BENCHMARK(appPath<appPathDirect>)->Name("TsEnGetAppPath, direct export");
BENCHMARK(appPath<appPathOverC>)->Name("TsEnGetAppPath over the C interface");

} // namespace
