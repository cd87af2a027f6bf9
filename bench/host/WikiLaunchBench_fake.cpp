// Wiki help over the test double: a request from TsEnWikiHelp to the shell
// call, against the least the same answer needs: the same registry values
// read once, the known topic and mapping files opened and scanned, and the
// address joined by plain concatenation.
#include "platform/testing/FakeSystem.h"

#include "TsEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace tsen;

const char* const kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
constexpr int kTopic = 140; // on the last line of the topic file
constexpr int kTopicLines = 40;
const std::string kExpected = "https://wiki.example/doku.php/nb:civil:roads:page40";

// An installed application folder with the help files a request reads.
class Installation {
public:
  Installation()
      : root_(std::filesystem::temp_directory_path() /
              ("tsen-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(root_ / "Help" / "WikiCfg");
    std::ofstream topics(root_ / "Help" / "WikiCfg" / "topics.cfg");
    topics << "// topic;wiki page;compiled help topics;help file\n";
    for (int line = 1; line <= kTopicLines; ++line) {
      topics << 100 + line << ";roads:page" << line << ";" << 2000 + line << ";roadhelp;\n";
    }
    std::ofstream(root_ / "Help" / "Tessaline_Wiki_Help_Language_Mapping.cfg")
        << "DAN=da\nFIN=fi\nNOR=nb\nSVE=sv\n";
  }
  ~Installation() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  std::string host(const char* relative) const { return (root_ / relative).string(); }
  std::string library() const {
    std::string text = root_.string();
    for (char& c : text) {
      c = c == '/' ? '\\' : c;
    }
    return text;
  }

private:
  std::filesystem::path root_;
};

void setUpMachine(const Installation& app) {
  fake::reset();
  fake::setModuleFileName(app.library() + "\\Binaries\\Tessaline.Environment.dll");
  fake::setString(platform::kCurrentUser, kKernel, "Language", "NOR");
  fake::setString(platform::kCurrentUser, kKernel, "Help BaseUrl", "https://wiki.example");
  fake::setString(platform::kCurrentUser, kKernel, "Help Platform", "civil");
  setActiveTessalineDomain("ROAD");
}

void BM_WikiHelp(benchmark::State& state) {
  const Installation app;
  setUpMachine(app);
  TsEnWikiHelp(kTopic); // fills the application folder and language caches
  for (auto _ : state) {
    TsEnWikiHelp(kTopic);
  }
  if (fake::shellOpens().back() != kExpected) {
    state.SkipWithError(("unexpected address " + fake::shellOpens().back()).c_str());
  }
}
BENCHMARK(BM_WikiHelp);

// The first line of the file at path that starts with prefix, prefix removed.
std::string lineAfter(const std::string& path, const std::string& prefix) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) {
    return {};
  }
  char line[1024];
  std::string found;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (std::strncmp(line, prefix.c_str(), prefix.size()) == 0) {
      found = line + prefix.size();
      break;
    }
  }
  std::fclose(file);
  return found;
}

// The same request done plainly: each registry value read once, the known
// files opened by name, the address joined and handed to the shell.
[[gnu::noinline]] void openPlainly(const std::string& topics, const std::string& mapping,
                                   const std::string& topicPrefix) {
  const std::string kernel = TsEnGetRegKeyKernelServices();
  TsEnWinRegistry modules;
  std::string domain;
  if (modules.OpenKey(platform::kCurrentUser, TsEnBuildRegKey(TsEnRegKeyModules), false)) {
    modules.ReadString(TsEnRegValueActiveDomain, domain);
  }
  benchmark::DoNotOptimize(domain);
  TsEnWinRegistry settings;
  TsEnLong useChm = 0;
  std::string language, base = "https://help.quarzel.com", platformName = "ts";
  if (settings.OpenKey(platform::kCurrentUser, kernel, false)) {
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

void BM_PlainConcatenation(benchmark::State& state) {
  const Installation app;
  setUpMachine(app);
  const std::string topics = app.host("Help/WikiCfg/topics.cfg");
  const std::string mapping = app.host("Help/Tessaline_Wiki_Help_Language_Mapping.cfg");
  const std::string topicPrefix = std::to_string(kTopic) + ";";
  for (auto _ : state) {
    openPlainly(topics, mapping, topicPrefix);
  }
  if (fake::shellOpens().back() != kExpected) {
    state.SkipWithError(("unexpected address " + fake::shellOpens().back()).c_str());
  }
}
BENCHMARK(BM_PlainConcatenation);

} // namespace
