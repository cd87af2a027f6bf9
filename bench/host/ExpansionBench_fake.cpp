// File name expansion over the test double: a name without tokens against
// the least any expansion must do (a copy and an upper-cased copy), and a
// name with three tokens once the caches are warm.
#include "platform/testing/FakeSystem.h"

#include "TsEnvironment.h"
#include "expansion/TextHelpers.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

using namespace tsen;

constexpr std::string_view kPlainText =
    "Base\\Kernel\\Configurations\\Standard\\Templates\\Drawing001.dwt";
static_assert(kPlainText.size() == 60);
const std::string kPlainName(kPlainText);

void setUpMachine() {
  fake::reset();
  fake::setModuleFileName("C:\\Suite\\Binaries\\Tessaline.Environment.dll");
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
  const char* kernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
  fake::setString(platform::kCurrentUser, kernel, "Current Config", "Road");
  fake::setString(platform::kCurrentUser, kernel, "Language", "NOR");
}

void BM_PlainName(benchmark::State& state) {
  setUpMachine();
  for (auto _ : state) {
    benchmark::DoNotOptimize(TsEnBuildFilename(kPlainName, TsEnBaseNone, 0));
  }
}
BENCHMARK(BM_PlainName);

void BM_PlainNameFloor(benchmark::State& state) {
  for (auto _ : state) {
    std::string working = kPlainName;
    benchmark::DoNotOptimize(working);
    std::string search = UpperCaseCopy(working);
    benchmark::DoNotOptimize(search);
  }
}
BENCHMARK(BM_PlainNameFloor);

void BM_ThreeTokensWarm(benchmark::State& state) {
  setUpMachine();
  const std::string name = "<APPATH>\\Help\\<LANGCODE>\\<USERDATA>\\Tessaline.cfg";
  TsEnBuildFilename(name, TsEnBaseNone, 0); // fills the application and language caches
  for (auto _ : state) {
    benchmark::DoNotOptimize(TsEnBuildFilename(name, TsEnBaseNone, 0));
  }
}
BENCHMARK(BM_ThreeTokensWarm);

} // namespace
