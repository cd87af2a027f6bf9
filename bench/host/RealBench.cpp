// The benchmarks over the portable platform layer, real files throughout:
// the configuration read and the user data folder, with a registry file of a
// thousand keys, each against the bare platform calls it makes; the topic
// file search against reading the same files unexamined. The program is
// built into a folder named Binaries, so the folder above is its
// application folder, where it writes the topic files.
#include "TsEnvironment.h"
#include "bench/BareRegistry.h"
#include "bench/host/Backend.h"
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
using tsen::bench::bareReadNumber;
using tsen::bench::bareReadText;

constexpr const char* kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

// The layer names the registry file from the environment at every call.
void selectRegistry(const fs::path& file) {
  ::setenv("TSEN_REGISTRY", file.c_str(), 1);
}

const tsen::testsupport::ScratchFolder& scratch() {
  static const tsen::testsupport::ScratchFolder folder("tsen-bench-real-");
  return folder;
}

// ---- The configuration read, a thousand keys -------------------------------------

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
    reg += std::string("[HKEY_CURRENT_USER\\") + kQvrKey +
           "]\r\n\"QVRConnect\"=dword:00000000\r\n\r\n" + "[HKEY_CURRENT_USER\\" + kKernel +
           "]\r\n\"Current Config\"=\"Road\"\r\n";
    return scratch().write("thousand.reg", reg);
  }();
  return file;
}

// The reads, each against the bare platform calls it makes, over the same
// registry file; the parsed file is reused while it is unchanged.
const std::pair<const char*, void (*)()> kReads[] = {
    {"TsEnGetCurrentConfig", [] { benchmark::DoNotOptimize(TsEnGetCurrentConfig()); }},
    {"TsEnGetCurrentConfig by hand (bare platform calls)",
     [] {
       benchmark::DoNotOptimize(bareReadNumber(kQvrKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadText(kKernel, "Current Config"));
     }},
    {"TsEnGetUserDataPath", [] { benchmark::DoNotOptimize(TsEnGetUserDataPath()); }},
    // The roaming folder; the flag for the version segment; the flag again
    // for the Kernel Services key path; the configuration, its size first.
    {"TsEnGetUserDataPath by hand (bare platform calls)",
     [] {
       benchmark::DoNotOptimize(platform::knownFolder(platform::KnownFolder::roamingAppData));
       benchmark::DoNotOptimize(bareReadNumber(kQvrKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadNumber(kQvrKey, "QVRConnect"));
       benchmark::DoNotOptimize(bareReadText(kKernel, "Current Config"));
     }},
};

// Each read counts the parses as well as checking there are none, so that
// the report shows the count it relies on.
const bool readsRegistered = [] {
  for (const auto& [name, read] : kReads) {
    benchmark::RegisterBenchmark(name, [read = read](benchmark::State& state) {
      tsen::bench::selectUser(scratch().path());
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

// ---- Topic files ----------------------------------------------------------------------

// 20 files of 5,000 lines, numbered in the order the folder lists them, so
// that the sought topic is on the last line of the last file listed.
constexpr int kFiles = 20;
constexpr int kLinesPerFile = 5000;
constexpr int kFirstTopic = 100000;
constexpr int kSoughtTopic = kFirstTopic + kFiles * kLinesPerFile - 1;

const std::string kSoughtPage = "a19:p4999";

// The topic folder, written the library's way; "" without an application
// folder.
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
      std::string content;
      std::array<char, 64> line{};
      for (int index = 0; index < kLinesPerFile; ++index, content += line.data()) {
        std::snprintf(line.data(), line.size(), "%d; a%02d:p%04d; %d; h%02d;\n",
                      kFirstTopic + position * kLinesPerFile + index, position, index, index,
                      position);
      }
      std::ofstream(entry.path(), std::ios::binary) << content;
      ++position;
    }
    return tsen::testsupport::backslashed(folder);
  }();
  // The registry of this search alone: no active domain, nothing of the user's.
  selectRegistry(scratch().path() / "empty.reg");
  return written;
}

// The floor: the same listing, every file opened and read with fgets into
// 1024 characters, nothing examined.
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

// Each search over the topic files, answering whether it found the sought topic.
const std::pair<const char*, bool (*)(const std::string&)> kSearches[] = {
    {"FindWikiPage",
     [](const std::string&) { return tsen::help::FindWikiPage(kSoughtTopic) == kSoughtPage; }},
    {"reading the files with fgets", readFilesOnly},
};

const bool searchesRegistered = [] {
  for (const auto& [name, search] : kSearches) {
    benchmark::RegisterBenchmark(name, [search = search](benchmark::State& state) {
      const std::string& folder = topicFolder();
      for (auto _ : state) {
        if (folder.empty() || !search(folder)) {
          state.SkipWithError("the search missed the sought topic");
          break;
        }
      }
    })->Unit(benchmark::kMillisecond);
  }
  return true;
}();

} // namespace

void tsen::bench::selectUser(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  selectRegistry(folder / "registry.reg");
}
