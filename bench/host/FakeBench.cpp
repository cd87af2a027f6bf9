// The benchmarks over the test double: the kept answers against a plain copy
// of a string as long; file name expansion against a copy and an upper-cased
// copy; a wiki help request against the same address composed by hand.
#include "TsEnvironment.h"
#include "bench/ByHand.h"
#include "platform/testing/FakeSystem.h"
#include "support/AsciiCase.h"
#include "testsupport/Scratch.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

using namespace tsen;

const std::string kExpected = std::string("https://wiki.example") + bench::kWikiAddressEnd;

// One machine for every benchmark, an installed suite with the help files a
// wiki request reads: the same answers each time, so the library's kept
// answers stay right whichever benchmark runs first.
struct Installation {
  const testsupport::ScratchFolder folder{"tsen-bench-app-"};
  const bench::WikiFiles wiki = bench::writeWikiHelpFiles(folder.path());
};
const Installation& installation() {
  static const Installation app;
  return app;
}

void setUpMachine() {
  fake::reset();
  fake::setModuleFileName(installation().folder.library("Binaries/Tessaline.Environment.dll"));
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
  for (const auto& [name, value] : {std::pair{"Current Config", "Road"},
                                    {"Language", "NOR"},
                                    {"My Tessaline Directory", "D:\\Users\\me\\My Tessaline\\"},
                                    {"Help BaseUrl", "https://wiki.example"},
                                    {"Help Platform", "civil"}}) {
    fake::setString(platform::kCurrentUser, bench::kKernel, name, value);
  }
}

// A kept answer, which asks the system nothing more, and a plain copy of a
// string as long.
template <bool library> void keptAnswer(benchmark::State& state, std::string (*answer)()) {
  setUpMachine();
  const std::string original(answer().size(), 'x');
  if (original.empty()) {
    state.SkipWithError("the test double gave no answer to keep");
  }
  fake::resetCalls();
  for (auto _ : state) {
    std::string result = library ? answer() : original;
    benchmark::DoNotOptimize(result);
  }
  const auto calls = fake::calls();
  if (calls.moduleFileName + calls.regOpenKey + calls.knownFolder != 0) {
    state.SkipWithError("the kept answer asked the system");
  }
}
const bool answersRegistered = [] {
  for (const auto& [name, answer] : {std::pair{"TsEnGetAppPath", &TsEnGetAppPath},
                                     {"TsEnGetLanguageCode", &TsEnGetLanguageCode},
                                     {"TsEnGetMyTessalinePath", &TsEnGetMyTessalinePath}}) {
    benchmark::RegisterBenchmark(("cached " + std::string(name)).c_str(), keptAnswer<true>, answer);
    benchmark::RegisterBenchmark(("string copy as long as " + std::string(name)).c_str(),
                                 keptAnswer<false>, answer);
  }
  return true;
}();

constexpr std::string_view kPlainText =
    "Base\\Kernel\\Configurations\\Standard\\Templates\\Drawing001.dwt";
static_assert(kPlainText.size() == 60);

// The library's expansion, and the least any expansion does: one copy to
// work on and one upper-cased copy to search.
template <bool library> void expansion(benchmark::State& state) {
  setUpMachine();
  const std::string name(kPlainText);
  for (auto _ : state) {
    if constexpr (library) {
      benchmark::DoNotOptimize(TsEnBuildFilename(name, TsEnBaseNone, 0));
    } else {
      std::string working = name;
      benchmark::DoNotOptimize(working);
      benchmark::DoNotOptimize(asciiUpperCopy(working));
    }
  }
}
BENCHMARK(expansion<true>)->Name("60-character name without <");
BENCHMARK(expansion<false>)->Name("copy and upper-cased copy");

// The request from the library, and done plainly, on the same machine.
template <bool library> void wikiHelp(benchmark::State& state) {
  setUpMachine();
  setActiveTessalineDomain("ROAD");
  TsEnWikiHelp(bench::kWikiTopic); // fills the application folder and language caches
  const std::string code = TsEnGetLanguageCode();
  for (auto _ : state) {
    if constexpr (library) {
      TsEnWikiHelp(bench::kWikiTopic);
    } else {
      bench::wikiHelpByHand(installation().wiki, code);
    }
  }
  if (fake::shellOpens().empty() || fake::shellOpens().back() != kExpected) {
    state.SkipWithError("not the expected address");
  }
}
BENCHMARK(wikiHelp<true>)->Name("TsEnWikiHelp");
BENCHMARK(wikiHelp<false>)->Name("TsEnWikiHelp by hand");

} // namespace
