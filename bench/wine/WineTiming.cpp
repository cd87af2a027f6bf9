// The library under Wine against the plain Win32 way to the same answer:
// the configuration read, a file name expansion, a wiki help request (up to
// its shell call, which is recorded, not made) and a command log line.
// Wall time (steady clock): much of a registry call's work is done by the
// Wine server, which the process's own CPU time would leave out. Each figure
// is the fastest of batches that alternate between the two sides, so that a
// busy spell of a shared machine slows neither side alone. Prints one
// "name: figure ns" line per figure. Built with the library's code into a
// folder named Binaries, whose parent is the application folder. It owns the
// suite's product keys while it runs.
#include "TsEnvironment.h"
#include "bench/ByHand.h"
#include "testsupport/ImportSwap.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>

namespace {

using namespace tsen::bench;

constexpr const char* kSuiteKey = "SOFTWARE\\Quarzel\\Tessaline";
constexpr const char* kBaseUrl = "tsentiming://wiki.test";

template <typename Step> double nanosecondsPerCall(int calls, Step step) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) {
    static_cast<void>(step());
  }
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / calls;
}

// Prints the fastest batch of each of two steps, their batches alternating;
// unless ready is false, when it prints why not.
template <typename First, typename Second>
bool compare(bool ready, const char* why, const char* name, First first, const char* otherName,
             Second second, int calls, int batches) {
  if (!ready) {
    std::fprintf(stderr, "%s\n", why);
    return false;
  }
  double best[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  for (int batch = 0; batch < batches; ++batch) {
    best[0] = std::min(best[0], nanosecondsPerCall(calls / batches, first));
    best[1] = std::min(best[1], nanosecondsPerCall(calls / batches, second));
  }
  std::printf("%s: %.1f ns\n%s: %.1f ns\n", name, best[0], otherName, best[1]);
  return true;
}

// Open the flag key, read the flag, close; open the Kernel Services key, read
// the value's size and then the value, close.
std::string bareCurrentConfig() {
  return bareReadText((bareProductRoot() + "\\Kernel Services").c_str(), "Current Config");
}

bool timeConfigurationRead() {
  return compare(TsEnGetCurrentConfig() == bareCurrentConfig(),
                 "the two configuration reads disagree", "TsEnGetCurrentConfig",
                 TsEnGetCurrentConfig,
                 "TsEnGetCurrentConfig by hand (RegOpenKeyA, RegQueryValueExA, RegCloseKey)",
                 bareCurrentConfig, 3000, 7);
}

bool timeExpansion() {
  const auto library = [] {
    return TsEnBuildFilename("<APPATH>\\Help\\<LANGCODE>\\x.chm", TsEnBaseNone, 0);
  };
  const auto system = [] {
    char buffer[1024];
    const DWORD length =
        ExpandEnvironmentStringsA("%APPDATA%\\Help\\%USERNAME%\\x.chm", buffer, sizeof buffer);
    return length > 0 && length <= sizeof buffer ? std::string(buffer, length - 1) : std::string();
  };
  // Warms the application folder and language caches, and checks both sides
  // expand everything.
  const bool complete = library() == TsEnGetAppPath() + "\\Help\\NOR\\x.chm" && !system().empty() &&
                        system().find('%') == std::string::npos;
  return compare(complete, "the expansions are not complete",
                 "TsEnBuildFilename(<APPATH>\\Help\\<LANGCODE>\\x.chm), caches warm", library,
                 "ExpandEnvironmentStringsA(%APPDATA%\\Help\\%USERNAME%\\x.chm)", system, 200000,
                 9);
}

std::string lastAddress;
HINSTANCE WINAPI recordShell(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
  lastAddress = file;
  return reinterpret_cast<HINSTANCE>(INT_PTR{42});
}
int boxes = 0;
int WINAPI countBox(HWND, LPCSTR, LPCSTR, UINT) {
  ++boxes;
  return IDOK;
}

bool timeWikiHelp() {
  const std::string app = TsEnGetAppPath(), code = TsEnGetLanguageCode();
  const WikiFiles files = writeWikiHelpFiles(app);
  // The library's shell call and message boxes go through this program's
  // imports, the library's code being linked in.
  using tsen::testsupport::ImportSwap;
  const ImportSwap<decltype(ShellExecuteA)> shell(GetModuleHandleA(nullptr), "shell32.dll",
                                                  "ShellExecuteA", recordShell);
  const ImportSwap<decltype(MessageBoxA)> box(GetModuleHandleA(nullptr), "user32.dll",
                                              "MessageBoxA", countBox);
  const auto library = [] { TsEnWikiHelp(kWikiTopic); };
  const auto byHand = [&] { wikiHelpByHand(files, code); };
  library();
  const std::string libraryAddress = lastAddress,
                    expected = kBaseUrl + std::string(kWikiAddressEnd);
  byHand();
  const bool timed = compare(shell.swapped() && box.swapped() && libraryAddress == expected &&
                                 lastAddress == expected && boxes == 0,
                             "the library and the hand-made request open different addresses, "
                             "or a message box",
                             "TsEnWikiHelp", library, "TsEnWikiHelp by hand", byHand, 2000, 101);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(app) / "Help", ignored);
  return timed;
}

bool timeCommandLog() {
  const std::string folder = TsEnGetUserDataPath(), log = folder + "\\TessalineCommand.log";
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  // What the library writes for one line, with a fixed time stamp.
  const std::string line = "BenchCommand;2013.04.05, 09:07:03;Road;info\r\n";
  const auto appendBare = [&] {
    const HANDLE file =
        CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
    }
  };
  const bool timed = compare(
      !folder.empty() && !failed &&
          TsEnBuildFilename("<USERDATA>\\TessalineCommand.log", TsEnBaseNone, 0) == log,
      "no user data folder, or the library names another log", "LogCommandInfo",
      [] { LogCommandInfo("BenchCommand", "Road", "info"); }, "CreateFileA, WriteFile, CloseHandle",
      appendBare, 3000, 15);
  std::filesystem::remove_all(folder, failed);
  return timed;
}

} // namespace

int main() {
  // The suite's keys start out missing and are gone afterwards: the prefix is
  // the build's own, and its tests leave no keys behind. A configuration of
  // this process's own, so the log is this run's alone.
  RegDeleteTreeA(HKEY_CURRENT_USER, kSuiteKey);
  const std::string kernel = kKernel;
  const DWORD off = 0;
  bool prepared = RegSetKeyValueA(HKEY_CURRENT_USER, kFlagKey, "QVRConnect", REG_DWORD, &off,
                                  sizeof off) == ERROR_SUCCESS;
  for (const auto& [key, name, text] :
       {std::tuple{kernel, "Current Config", "Timing-" + std::to_string(GetCurrentProcessId())},
        {kernel, "Language", "NOR"},
        {kernel, "Help BaseUrl", kBaseUrl},
        {kernel, "Help Platform", "civil"},
        {std::string(kSuiteKey) + "\\18.40\\Tessaline modules", "ActiveDomainKey", "ROAD"}}) {
    prepared = prepared && RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ,
                                           text.c_str(), text.size() + 1) == ERROR_SUCCESS;
  }
  int failed = 1;
  if (!prepared || TsEnGetAppPath().empty()) {
    std::fprintf(stderr, "cannot prepare the registry, or not built into a Binaries folder\n");
  } else {
    failed = 0;
    for (bool (*timing)() : {timeConfigurationRead, timeExpansion, timeWikiHelp, timeCommandLog}) {
      failed += timing() ? 0 : 1;
    }
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, kSuiteKey);
  return failed == 0 ? 0 : 1;
}
