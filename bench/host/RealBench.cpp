// The benchmarks over the portable platform layer, real files throughout:
// the configuration read and the user data folder (a registry file of a
// thousand keys) against the bare platform calls they make; the topic file
// search against reading the same files unexamined; LogCommandInfo against
// bare appends of its line (open, lock, write, close). Built into a folder
// named Binaries, whose parent is the application folder.
#include "TsEnvironment.h"
#include "bench/ByHand.h"
#include "help/HelpInternal.h"
#include "platform/Platform.h"
#include "platform/portable/RegistryStore.h"
#include "testsupport/Scratch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace platform = tsen::platform;
namespace testsupport = tsen::testsupport;
using namespace tsen::bench;

// The layer names the registry file from the environment at every call.
void selectRegistry(const fs::path& file) {
  ::setenv("TSEN_REGISTRY", file.c_str(), 1);
}

const testsupport::ScratchFolder& scratch() {
  static const testsupport::ScratchFolder folder("tsen-bench-real-");
  return folder;
}

const fs::path& thousandKeyRegistry() {
  static const fs::path file = [] {
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int key = 0; key < 998; ++key) {
      std::array<char, 160> entry{};
      std::snprintf(entry.data(), entry.size(),
                    "[HKEY_CURRENT_USER\\SOFTWARE\\Vendor%d\\Product%d]\r\n\"Name\"=\"Value "
                    "%d\"\r\n\"Count\"=dword:%x\r\n\r\n",
                    key % 10, key, key, key);
      reg += entry.data();
    }
    reg += std::string("[HKEY_CURRENT_USER\\") + kFlagKey +
           "]\r\n\"QVRConnect\"=dword:00000000\r\n\r\n" + "[HKEY_CURRENT_USER\\" + kKernel +
           "]\r\n\"Current Config\"=\"Road\"\r\n";
    return scratch().write("thousand.reg", reg);
  }();
  return file;
}

// The reads, each against the bare platform calls it makes.
const std::pair<const char*, void (*)()> kReads[] = {
    {"TsEnGetCurrentConfig", [] { benchmark::DoNotOptimize(TsEnGetCurrentConfig()); }},
    {"TsEnGetCurrentConfig by hand (bare platform calls)",
     [] {
       benchmark::DoNotOptimize(bareReadNumber(kFlagKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadText(kKernel, "Current Config"));
     }},
    {"TsEnGetUserDataPath", [] { benchmark::DoNotOptimize(TsEnGetUserDataPath()); }},
    // The roaming folder; the flag for the version segment; the flag again
    // for the Kernel Services key path; the configuration, its size first.
    {"TsEnGetUserDataPath by hand (bare platform calls)",
     [] {
       benchmark::DoNotOptimize(platform::knownFolder(platform::KnownFolder::roamingAppData));
       benchmark::DoNotOptimize(bareReadNumber(kFlagKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadNumber(kFlagKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadText(kKernel, "Current Config"));
     }},
};

// The parsed file is reused while it is unchanged: the count of parses is
// checked and reported.
const bool readsRegistered = [] {
  for (const auto& [name, read] : kReads) {
    benchmark::RegisterBenchmark(name, [read = read](benchmark::State& state) {
      ::setenv("XDG_CONFIG_HOME", scratch().path().c_str(), 1);
      selectRegistry(thousandKeyRegistry());
      if (TsEnGetCurrentConfig() != "Road" || TsEnGetUserDataPath().empty()) {
        state.SkipWithError("the registry file was not read");
        return;
      }
      auto& store = platform::portable::RegistryStore::instance();
      const std::uint64_t parses = store.parseCount();
      for (auto _ : state) {
        read();
      }
      state.counters["reparses"] = static_cast<double>(store.parseCount() - parses);
      if (store.parseCount() != parses) {
        state.SkipWithError("an unchanged registry file was parsed again");
      }
    });
  }
  return true;
}();

// 20 files of 5,000 lines, numbered in the order the folder lists them, so
// that the sought topic is on the last line of the last file listed.
constexpr int kFiles = 20;
constexpr int kLinesPerFile = 5000;
constexpr int kFirstTopic = 100000;
constexpr int kSoughtTopic = kFirstTopic + kFiles * kLinesPerFile - 1;

const std::string kSoughtPage = "a19:p4999";

// The topic folder, written the library's way; "" without an application folder.
const std::string& topicFolder() {
  static const std::string written = [] {
    std::string app = TsEnGetAppPath();
    if (app.empty()) {
      return app;
    }
    std::replace(app.begin(), app.end(), '\\', '/');
    const fs::path folder = fs::path(app) / "Help" / "WikiCfg";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int file = 0; file < kFiles; ++file) {
      std::ofstream(folder / ("topics_" + std::to_string(file) + ".cfg"));
    }
    int position = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::ofstream out(entry.path(), std::ios::binary);
      for (int index = 0; index < kLinesPerFile; ++index) {
        std::array<char, 64> line{};
        std::snprintf(line.data(), line.size(), "%d; a%02d:p%04d; %d; h%02d;\n",
                      kFirstTopic + position * kLinesPerFile + index, position, index, index,
                      position);
        out << line.data();
      }
      ++position;
    }
    return testsupport::backslashed(folder);
  }();
  // The registry of this search alone: no active domain, nothing of the user's.
  selectRegistry(scratch().path() / "empty.reg");
  return written;
}

// The floor: the same listing, every file read with fgets, nothing examined.
bool readFilesOnly(const std::string& folder) {
  std::int64_t lines = 0;
  std::string name;
  const platform::UniqueListing listing = platform::openListing(folder + "\\*.cfg", name);
  if (listing) {
    do {
      const platform::UniqueFile file = platform::openFile(folder + "\\" + name, "r");
      std::array<char, 1024> buffer{};
      while (file && std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.get())) {
        ++lines;
      }
    } while (platform::nextInListing(*listing, name));
  }
  return lines == kFiles * kLinesPerFile;
}

template <bool library> void topicSearch(benchmark::State& state) {
  const std::string& folder = topicFolder();
  for (auto _ : state) {
    if (folder.empty() || !(library ? tsen::help::FindWikiPage(kSoughtTopic) == kSoughtPage
                                    : readFilesOnly(folder))) {
      state.SkipWithError("the search missed the sought topic");
      break;
    }
  }
}
BENCHMARK(topicSearch<true>)->Name("FindWikiPage")->Unit(benchmark::kMillisecond);
BENCHMARK(topicSearch<false>)->Name("reading the files with fgets")->Unit(benchmark::kMillisecond);

// The line LogCommandInfo("MyCommand", "Road", "") writes.
const std::string kLogLine = "MyCommand;2013.04.05, 09:07:03;Road;\r\n";

template <bool library> void commandLog(benchmark::State& state) {
  // A user of a fresh folder with the 18.40 layout and the configuration Road.
  const testsupport::ScratchFolder user("tsen-bench-log-");
  ::setenv("XDG_CONFIG_HOME", user.path().c_str(), 1);
  selectRegistry(user.write("registry.reg", std::string("Windows Registry Editor Version 5.00\r\n"
                                                        "\r\n[HKEY_CURRENT_USER\\") +
                                                kKernel + "]\r\n\"Current Config\"=\"Road\"\r\n"));
  const fs::path log = user.path() / "Quarzel/Tessaline/18.40/Road/TessalineCommand.log";
  fs::create_directories(log.parent_path());
  const std::string file = testsupport::backslashed(log);
  for (auto _ : state) {
    if constexpr (library) {
      LogCommandInfo("MyCommand", "Road", "");
    } else {
      benchmark::DoNotOptimize(platform::appendToFile(file, kLogLine));
    }
  }
  if (!fs::exists(log)) {
    state.SkipWithError("no log written");
  }
}
BENCHMARK(commandLog<true>)->Name("LogCommandInfo");
BENCHMARK(commandLog<false>)->Name("appendToFile (open, lock, write, close)");

} // namespace
