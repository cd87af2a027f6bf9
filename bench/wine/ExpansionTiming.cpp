// How long a warm expansion of an installed name takes against the
// system's own expansion of a name with two variables:
//   TsEnBuildFilename("<APPATH>\Help\<LANGCODE>\x.chm", 0, 0)
//   ExpandEnvironmentStringsA("%APPDATA%\Help\%USERNAME%\x.chm")
// The application folder needs the library in a Binaries folder: run from
// anywhere else, the program copies itself and the library into one below
// the temporary folder and runs the copy.
//   ExpansionTiming [ROUNDS]
// It owns the suite's product keys while it runs: no tests at the same time.
#include "TsEnvironment.h"

#include "bench/wine/Timing.h"
#include "tests/wine/ProductKeysGuard.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = "<APPATH>\\Help\\<LANGCODE>\\x.chm";
constexpr const char* kSystemName = "%APPDATA%\\Help\\%USERNAME%\\x.chm";

fs::path thisProgram() {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self;
}

bool inBinariesFolder(const fs::path& program) {
  std::string folder = program.parent_path().filename().string();
  std::transform(folder.begin(), folder.end(), folder.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folder == "binaries";
}

// Runs a copy of this program from <temp>\...\Suite\Binaries with the
// library beside it, and answers its exit code.
int runFromBinariesFolder(const fs::path& program, int argc, char** argv) {
  const fs::path suite = fs::temp_directory_path() /
                         ("tsen-expansion-timing-" + std::to_string(GetCurrentProcessId()));
  const fs::path binaries = suite / "Suite" / "Binaries";
  fs::create_directories(binaries);
  const fs::path library = program.parent_path() / "Tessaline.Environment.dll";
  std::error_code failed;
  fs::copy_file(program, binaries / program.filename(), failed);
  // A program linked with the library's code itself has no library beside it.
  if (!failed && fs::exists(library)) {
    fs::copy_file(library, binaries / library.filename(), failed);
  }
  DWORD exitCode = 1;
  if (!failed) {
    std::string command = "\"" + (binaries / program.filename()).string() + "\"";
    for (int i = 1; i < argc; ++i) {
      command += std::string(" ") + argv[i];
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &started)) {
      WaitForSingleObject(started.hProcess, INFINITE);
      GetExitCodeProcess(started.hProcess, &exitCode);
      CloseHandle(started.hThread);
      CloseHandle(started.hProcess);
    }
  } else {
    std::fprintf(stderr, "cannot copy the programs: %s\n", failed.message().c_str());
  }
  fs::remove_all(suite, failed);
  return static_cast<int>(exitCode);
}

std::string systemExpansion() {
  char buffer[1024];
  const DWORD length = ExpandEnvironmentStringsA(kSystemName, buffer, sizeof buffer);
  return length > 0 && length <= sizeof buffer ? std::string(buffer, length - 1) : std::string();
}

std::string libraryExpansion() {
  return TsEnBuildFilename(kName, TsEnBaseNone, 0);
}

} // namespace

int main(int argc, char** argv) {
  using namespace tsen::testing;
  const fs::path program = thisProgram();
  if (!inBinariesFolder(program)) {
    return runFromBinariesFolder(program, argc, argv);
  }
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 200000;
  if (rounds <= 0) {
    return 2;
  }
  const ProductKeysGuard guard;
  if (!setFlag(0) || !writeRaw(HKEY_CURRENT_USER, kKernel1840, "Language", REG_SZ,
                               bytesOf(std::string("NOR", 4)))) {
    std::fputs("cannot prepare the registry\n", stderr);
    return 1;
  }
  // Warms the application folder and language caches, and checks both sides
  // expand everything.
  const std::string expanded = libraryExpansion();
  const std::string systemExpanded = systemExpansion();
  std::printf("library: %s\nsystem:  %s\n", expanded.c_str(), systemExpanded.c_str());
  if (expanded != TsEnGetAppPath() + "\\Help\\NOR\\x.chm" || TsEnGetAppPath().empty() ||
      systemExpanded.empty() || systemExpanded.find('%') != std::string::npos) {
    std::fputs("the expansions are not complete\n", stderr);
    return 1;
  }
  const auto [library, system] =
      tsen::bench::fastestAlternating(rounds, 9, libraryExpansion, systemExpansion);
  std::printf("TsEnBuildFilename          %10.0f ns/call\n", library);
  std::printf("ExpandEnvironmentStringsA  %10.0f ns/call\n", system);
  std::printf("ratio                      %10.2f (goal: at most 1)\n", library / system);
  return 0;
}
