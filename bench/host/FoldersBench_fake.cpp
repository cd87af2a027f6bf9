// The kept answers of the folder and language functions, each beside its
// floor: a plain copy of a string as long as the answer. The test double
// serves the first call; every timed call must come from the cache.
#include "platform/testing/FakeSystem.h"

#include "TsEnvironment.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using Answer = std::string (*)();

constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// Fills the caches once for the whole run; false when an answer is missing.
bool cachesFilled() {
  static const bool filled = [] {
    namespace fake = tsen::fake;
    fake::reset();
    fake::setModuleFileName("D:\\Tessaline Suite\\Binaries\\Tessaline.Environment.dll");
    fake::setString(tsen::platform::kCurrentUser, kKernel, "Language", "NOR");
    fake::setString(tsen::platform::kCurrentUser, kKernel, "My Tessaline Directory",
                    "D:\\Users\\someone\\Documents\\My Tessaline\\");
    const bool found = !TsEnGetAppPath().empty() && !TsEnGetLanguageCode().empty() &&
                       !TsEnGetMyTessalinePath().empty();
    fake::resetCalls();
    return found;
  }();
  return filled;
}

void cached(benchmark::State& state, Answer answer) {
  if (!cachesFilled()) {
    state.SkipWithError("the test double gave no answer to keep");
    return;
  }
  for (auto _ : state) {
    std::string result = answer();
    benchmark::DoNotOptimize(result);
  }
  const auto calls = tsen::fake::calls();
  if (calls.moduleFileName + calls.regOpenKey + calls.knownFolder != 0) {
    state.SkipWithError("the kept answer asked the system");
  }
}

void plainCopy(benchmark::State& state, Answer answer) {
  if (!cachesFilled()) {
    state.SkipWithError("the test double gave no answer to keep");
    return;
  }
  const std::string original(answer().size(), 'x');
  for (auto _ : state) {
    std::string copy = original;
    benchmark::DoNotOptimize(copy);
  }
}

BENCHMARK_CAPTURE(cached, TsEnGetAppPath, &TsEnGetAppPath);
BENCHMARK_CAPTURE(plainCopy, TsEnGetAppPath, &TsEnGetAppPath);
BENCHMARK_CAPTURE(cached, TsEnGetLanguageCode, &TsEnGetLanguageCode);
BENCHMARK_CAPTURE(plainCopy, TsEnGetLanguageCode, &TsEnGetLanguageCode);
BENCHMARK_CAPTURE(cached, TsEnGetMyTessalinePath, &TsEnGetMyTessalinePath);
BENCHMARK_CAPTURE(plainCopy, TsEnGetMyTessalinePath, &TsEnGetMyTessalinePath);

} // namespace
