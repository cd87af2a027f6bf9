// FindWikiPage over 20 topic files of 5,000 lines whose only line for the
// sought topic is the last line of the last file listed, beside the floor:
// the same files, in the same listing order, read line by line with fgets and
// not examined.
//
// The library takes the parent of the "Binaries" folder that holds it as the
// application folder; linked into this program, that is the program's own
// folder. Started anywhere else, the program copies itself into Binaries
// below a scratch application folder and runs the copy there. TSEN_BENCH_APP
// names that folder and keeps it (with its topic files) afterwards.
#include "TsEnvironment.h"
#include "help/HelpInternal.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 20;
constexpr int kLinesPerFile = 5000;
constexpr int kFirstTopic = 100000;
constexpr int kSoughtTopic = kFirstTopic + kFiles * kLinesPerFile - 1;
constexpr const char* kKeepVariable = "TSEN_BENCH_APP";

struct TopicData {
  std::string folder; // the topic folder, written the library's way
  std::string soughtPage;
  std::string helpName;
  std::int64_t bytes = 0;
};
TopicData data;

std::string backslashed(const fs::path& path) {
  std::string text = path.string();
  for (char& c : text) {
    c = c == '/' ? '\\' : c;
  }
  return text;
}

std::string lineOf(int fileIndex, int lineIndex) {
  std::array<char, 64> line{};
  std::snprintf(line.data(), line.size(), "%d; a%02d:p%04d; %d; h%02d;\n",
                kFirstTopic + fileIndex * kLinesPerFile + lineIndex, fileIndex, lineIndex,
                lineIndex, fileIndex);
  return line.data();
}

// Writes the topic files, numbering them in the order the folder lists them,
// so that the sought topic is on the last line of the last file listed.
TopicData writeTopicFiles(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (int file = 0; file < kFiles; ++file) {
    std::ofstream(folder / ("topics_" + std::to_string(file) + ".cfg"));
  }
  TopicData written{backslashed(folder), {}, {}, 0};
  int position = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string content;
    for (int line = 0; line < kLinesPerFile; ++line) {
      content += lineOf(position, line);
    }
    std::ofstream(entry.path(), std::ios::binary) << content;
    written.bytes += static_cast<std::int64_t>(content.size());
    ++position;
  }
  char page[32];
  std::snprintf(page, sizeof page, "a%02d:p%04d", kFiles - 1, kLinesPerFile - 1);
  written.soughtPage = page;
  std::snprintf(page, sizeof page, "h%02d", kFiles - 1);
  written.helpName = page;
  return written;
}

void BM_FindWikiPage(benchmark::State& state) {
  for (auto _ : state) {
    std::string page = tsen::help::FindWikiPage(kSoughtTopic);
    if (page != data.soughtPage) {
      state.SkipWithError("FindWikiPage missed the sought topic");
      break;
    }
    benchmark::DoNotOptimize(page);
  }
  state.SetBytesProcessed(state.iterations() * data.bytes);
}
BENCHMARK(BM_FindWikiPage)->Unit(benchmark::kMillisecond);

// The floor: the same listing, every file opened and read with fgets into
// 1024 characters, nothing examined.
void BM_ReadFilesOnly(benchmark::State& state) {
  for (auto _ : state) {
    std::int64_t lines = 0;
    std::string name;
    tsen::platform::UniqueListing listing =
        tsen::platform::openListing(data.folder + "\\*.cfg", name);
    if (listing) {
      do {
        const tsen::platform::UniqueFile file =
            tsen::platform::openFile(data.folder + "\\" + name, "r");
        std::array<char, 1024> buffer{};
        while (file && std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.get())) {
          ++lines;
        }
      } while (tsen::platform::nextInListing(*listing, name));
    }
    if (lines != kFiles * kLinesPerFile) {
      state.SkipWithError("the floor did not read every line");
      break;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * data.bytes);
}
BENCHMARK(BM_ReadFilesOnly)->Unit(benchmark::kMillisecond);

void BM_FindWikiPageForHelp(benchmark::State& state) {
  for (auto _ : state) {
    std::string page = tsen::help::FindWikiPageForHelp(kLinesPerFile - 1, data.helpName);
    if (page != data.soughtPage) {
      state.SkipWithError("FindWikiPageForHelp missed the sought topic");
      break;
    }
    benchmark::DoNotOptimize(page);
  }
  state.SetBytesProcessed(state.iterations() * data.bytes);
}
BENCHMARK(BM_FindWikiPageForHelp)->Unit(benchmark::kMillisecond);

void BM_FindCompiledHelpTopic(benchmark::State& state) {
  for (auto _ : state) {
    int helpTopic = 0;
    std::string helpName;
    if (!tsen::help::FindCompiledHelpTopic(kSoughtTopic, helpTopic, helpName) ||
        helpName != data.helpName) {
      state.SkipWithError("FindCompiledHelpTopic missed the sought topic");
      break;
    }
    benchmark::DoNotOptimize(helpTopic);
  }
  state.SetBytesProcessed(state.iterations() * data.bytes);
}
BENCHMARK(BM_FindCompiledHelpTopic)->Unit(benchmark::kMillisecond);

bool runsFromBinaries() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return !error && self.parent_path().filename() == "Binaries";
}

// Runs a copy of this program from <app>/Binaries and answers its exit code.
int runFromScratchApplication(char** argv) {
  const char* keep = std::getenv(kKeepVariable);
  fs::path app;
  if (keep != nullptr && *keep != '\0') {
    app = keep;
  } else {
    std::string pattern = fs::temp_directory_path() / "tsen-topic-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      return 1;
    }
    app = pattern;
  }
  const fs::path copy = app / "Binaries" / "bench_TopicFilesBench";
  fs::create_directories(copy.parent_path());
  fs::copy_file("/proc/self/exe", copy, fs::copy_options::overwrite_existing);
  // The registry file of this run alone: no active domain, nothing of the user's.
  ::setenv("TSEN_REGISTRY", (app / "registry.reg").c_str(), 1);
  const pid_t child = ::fork();
  if (child == 0) {
    // The loader names a program after its argv[0].
    std::string programName = copy.string();
    argv[0] = programName.data();
    ::execv(copy.c_str(), argv);
    std::perror("execv");
    std::_Exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (keep == nullptr || *keep == '\0') {
    std::error_code ignored;
    fs::remove_all(app, ignored);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv) {
  if (!runsFromBinaries()) {
    return runFromScratchApplication(argv);
  }
  std::string app = TsEnGetAppPath();
  for (char& c : app) {
    c = c == '\\' ? '/' : c;
  }
  if (app.empty()) {
    std::cerr << "no application folder\n";
    return 1;
  }
  data = writeTopicFiles(fs::path(app) / "Help" / "WikiCfg");
  std::cout << "topic files: " << kFiles << " x " << kLinesPerFile << " lines, " << data.bytes
            << " bytes; sought topic " << kSoughtTopic << " -> " << data.soughtPage << "\n";
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
