// The benchmarks over the test double: the kept answers against a plain copy
// of a string as long; file name expansion against a copy and an upper-cased
// copy; a wiki help request against the same address composed by hand.
#include "TsEnvironment.h"
#include "bench/host/Backend.h"
#include "expansion/TextHelpers.h"
#include "platform/testing/FakeSystem.h"
#include "testsupport/Scratch.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace tsen;
using Answer = std::string (*)();

constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
constexpr int kTopic = 140; // on the last line of the topic file
const std::string kExpected = "https://wiki.example/doku.php/nb:civil:roads:page40";

// One machine for every benchmark, an installed suite with the help files a
// wiki request reads: the same answers each time, so the library's kept
// answers stay right whichever benchmark runs first.
const testsupport::ScratchFolder& installation() {
  static const testsupport::ScratchFolder app("tsen-bench-app-");
  return app;
}

void setUpMachine() {
  std::string topics = "// topic;wiki page;compiled help topics;help file\n";
  for (int line = 1; line <= 40; ++line) {
    topics += std::to_string(100 + line) + ";roads:page" + std::to_string(line) + ";" +
              std::to_string(2000 + line) + ";roadhelp;\n";
  }
  installation().write("Help/WikiCfg/topics.cfg", topics);
  installation().write("Help/Tessaline_Wiki_Help_Language_Mapping.cfg",
                       "DAN=da\nFIN=fi\nNOR=nb\nSVE=sv\n");
  fake::reset();
  fake::setModuleFileName(installation().library("Binaries/Tessaline.Environment.dll"));
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
  for (const auto& [name, value] : {std::pair{"Current Config", "Road"},
                                    {"Language", "NOR"},
                                    {"My Tessaline Directory", "D:\\Users\\me\\My Tessaline\\"},
                                    {"Help BaseUrl", "https://wiki.example"},
                                    {"Help Platform", "civil"}}) {
    fake::setString(platform::kCurrentUser, kKernel, name, value);
  }
}

// ---- Kept answers ----------------------------------------------------------------

void cached(benchmark::State& state, Answer answer) {
  setUpMachine();
  if (answer().empty()) {
    state.SkipWithError("the test double gave no answer to keep");
  }
  fake::resetCalls();
  for (auto _ : state) {
    std::string result = answer();
    benchmark::DoNotOptimize(result);
  }
  const auto calls = fake::calls();
  if (calls.moduleFileName + calls.regOpenKey + calls.knownFolder != 0) {
    state.SkipWithError("the kept answer asked the system");
  }
}

void plainCopy(benchmark::State& state, Answer answer) {
  setUpMachine();
  const std::string original(answer().size(), 'x');
  for (auto _ : state) {
    std::string copy = original;
    benchmark::DoNotOptimize(copy);
  }
}

const bool answersRegistered = [] {
  for (const auto& [name, answer] : {std::pair{"TsEnGetAppPath", &TsEnGetAppPath},
                                     {"TsEnGetLanguageCode", &TsEnGetLanguageCode},
                                     {"TsEnGetMyTessalinePath", &TsEnGetMyTessalinePath}}) {
    benchmark::RegisterBenchmark(("cached " + std::string(name)).c_str(), cached, answer);
    benchmark::RegisterBenchmark(("string copy as long as " + std::string(name)).c_str(), plainCopy,
                                 answer);
  }
  return true;
}();

// ---- File name expansion --------------------------------------------------------

constexpr std::string_view kPlainText =
    "Base\\Kernel\\Configurations\\Standard\\Templates\\Drawing001.dwt";
static_assert(kPlainText.size() == 60);

void expandPlainName(benchmark::State& state) {
  setUpMachine();
  const std::string name(kPlainText);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TsEnBuildFilename(name, TsEnBaseNone, 0));
  }
}
BENCHMARK(expandPlainName)->Name("60-character name without <");

void copyAndUpperCase(benchmark::State& state) {
  const std::string name(kPlainText);
  for (auto _ : state) {
    std::string working = name;
    benchmark::DoNotOptimize(working);
    std::string search = UpperCaseCopy(working);
    benchmark::DoNotOptimize(search);
  }
}
BENCHMARK(copyAndUpperCase)->Name("copy and upper-cased copy");

// ---- Wiki help --------------------------------------------------------------------

void checkAddress(benchmark::State& state) {
  if (fake::shellOpens().empty() || fake::shellOpens().back() != kExpected) {
    state.SkipWithError("not the expected address");
  }
}

void wikiHelp(benchmark::State& state) {
  setUpMachine();
  setActiveTessalineDomain("ROAD");
  TsEnWikiHelp(kTopic); // fills the application folder and language caches
  for (auto _ : state) {
    TsEnWikiHelp(kTopic);
  }
  checkAddress(state);
}
BENCHMARK(wikiHelp)->Name("TsEnWikiHelp");

// The first line of the file at path that starts with prefix, prefix removed.
std::string lineAfter(const std::string& path, const std::string& prefix) {
  std::string found;
  if (std::FILE* file = std::fopen(path.c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, file) != nullptr) {
      if (std::strncmp(line, prefix.c_str(), prefix.size()) == 0) {
        found = line + prefix.size();
        break;
      }
    }
    std::fclose(file);
  }
  return found;
}

// The same request done plainly: each registry value read once, the known
// files opened by name, the address joined and handed to the shell.
[[gnu::noinline]] void openPlainly(const std::string& topics, const std::string& mapping,
                                   const std::string& topicPrefix) {
  TsEnWinRegistry modules, settings;
  std::string domain, language, base = "https://help.quarzel.com", platformName = "ts";
  if (modules.OpenKey(platform::kCurrentUser, TsEnBuildRegKey(TsEnRegKeyModules), false)) {
    modules.ReadString(TsEnRegValueActiveDomain, domain);
  }
  benchmark::DoNotOptimize(domain);
  TsEnLong useChm = 0;
  if (settings.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false)) {
    settings.ReadLong("Use CHM Help", useChm);
    settings.ReadString("Help LanguageCode", language);
    settings.ReadString("Help BaseUrl", base);
    settings.ReadString("Help Platform", platformName);
  }
  benchmark::DoNotOptimize(useChm);
  std::string page = lineAfter(topics, topicPrefix);
  page.resize(page.find(';'));
  if (language.empty()) {
    language = lineAfter(mapping, TsEnGetLanguageCode() + "=");
    language.resize(language.find('\n'));
  }
  platform::shellOpen(base + "/doku.php/" + language + ":" + platformName + ":" + page);
}

void wikiByHand(benchmark::State& state) {
  setUpMachine();
  setActiveTessalineDomain("ROAD");
  const std::string topics = installation() / "Help/WikiCfg/topics.cfg";
  const std::string mapping = installation() / "Help/Tessaline_Wiki_Help_Language_Mapping.cfg";
  const std::string topicPrefix = std::to_string(kTopic) + ";";
  for (auto _ : state) {
    openPlainly(topics, mapping, topicPrefix);
  }
  checkAddress(state);
}
BENCHMARK(wikiByHand)->Name("TsEnWikiHelp by hand");

} // namespace

void tsen::bench::selectUser(const std::filesystem::path& folder) {
  setUpMachine();
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, testsupport::backslashed(folder));
}
