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
#include "bench/BareRegistry.h"
#include "testsupport/ImportSwap.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

namespace {

constexpr const char* kSuiteKey = "SOFTWARE\\Quarzel\\Tessaline";
constexpr const char* kFlagKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
constexpr const char* kRoot = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
constexpr const char* kOtherRoot = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";
constexpr int kTopic = 4711;

template <typename Step> double nanosecondsPerCall(int calls, Step step) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) {
    static_cast<void>(step());
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
             .count() /
         calls;
}

// Prints the fastest batch of each of two steps, their batches alternating.
template <typename First, typename Second>
void compare(const char* name, First first, const char* otherName, Second second, int calls,
             int batches) {
  double best[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  for (int batch = 0; batch < batches; ++batch) {
    best[0] = std::min(best[0], nanosecondsPerCall(calls / batches, first));
    best[1] = std::min(best[1], nanosecondsPerCall(calls / batches, second));
  }
  std::printf("%s: %.1f ns\n%s: %.1f ns\n", name, best[0], otherName, best[1]);
}

bool fails(const char* why) {
  std::fprintf(stderr, "%s\n", why);
  return false;
}

// The suite's keys start out missing and are gone afterwards: the prefix is
// the build's own, and its tests leave no keys behind.
struct ProductKeys {
  ProductKeys() { RegDeleteTreeA(HKEY_CURRENT_USER, kSuiteKey); }
  ~ProductKeys() { RegDeleteTreeA(HKEY_CURRENT_USER, kSuiteKey); }
  ProductKeys(const ProductKeys&) = delete;
  ProductKeys& operator=(const ProductKeys&) = delete;
};

bool setValue(const std::string& key, const char* name, DWORD type, const void* data, DWORD size) {
  return RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, type, data, size) == ERROR_SUCCESS;
}

// ---- The configuration read ---------------------------------------------------

// One read into a buffer large enough for every value here.
std::string readString(HKEY key, const char* name) {
  char text[1024];
  DWORD size = sizeof text - 1;
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  text[size] = '\0';
  return text;
}

std::string productRoot() {
  return tsen::bench::bareReadNumber(kFlagKey, "QVRConnect") == 1 ? kOtherRoot : kRoot;
}

// Open the flag key, read the flag, close; open the Kernel Services key, read
// the value's size and then the value, close.
std::string bareCurrentConfig() {
  return tsen::bench::bareReadText((productRoot() + "\\Kernel Services").c_str(), "Current Config");
}

bool timeConfigurationRead() {
  if (TsEnGetCurrentConfig() != bareCurrentConfig()) {
    return fails("the two configuration reads disagree");
  }
  compare("TsEnGetCurrentConfig", TsEnGetCurrentConfig,
          "TsEnGetCurrentConfig by hand (RegOpenKeyA, RegQueryValueExA, RegCloseKey)",
          bareCurrentConfig, 3000, 7);
  return true;
}

// ---- File name expansion ------------------------------------------------------

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
  if (library() != TsEnGetAppPath() + "\\Help\\NOR\\x.chm" || system().empty() ||
      system().find('%') != std::string::npos) {
    return fails("the expansions are not complete");
  }
  compare("TsEnBuildFilename(<APPATH>\\Help\\<LANGCODE>\\x.chm), caches warm", library,
          "ExpandEnvironmentStringsA(%APPDATA%\\Help\\%USERNAME%\\x.chm)", system, 200000, 9);
  return true;
}

// ---- Wiki help --------------------------------------------------------------------

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

// The rest of the first line of the file that starts with key and separator,
// every blank, tab and line end gone and cut at "//"; "" without one.
std::string restAfter(const std::string& path, const std::string& key, char separator) {
  std::string rest;
  if (FILE* file = std::fopen(path.c_str(), "r")) {
    char line[1024];
    while (rest.empty() && std::fgets(line, sizeof line, file)) {
      std::string text;
      for (const char* c = line; *c && !(c[0] == '/' && c[1] == '/'); ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n') {
          text += *c;
        }
      }
      if (text.compare(0, text.find(separator), key) == 0 && text.size() > key.size()) {
        rest = text.substr(key.size() + 1);
      }
    }
    std::fclose(file);
  }
  return rest;
}

// The page of the topic in the folder's "topic;page;..." files.
std::string pageInFolder(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*.cfg").c_str(), &entry);
  std::string page;
  for (bool more = find != INVALID_HANDLE_VALUE; more && page.empty();
       more = FindNextFileA(find, &entry)) {
    page = restAfter(folder + "\\" + entry.cFileName, std::to_string(kTopic), ';');
    page.resize(std::min(page.size(), page.find(';')));
  }
  if (find != INVALID_HANDLE_VALUE) {
    FindClose(find);
  }
  return page;
}

// The same request by hand: the registry values read directly, the files
// scanned with fgets, the address joined by plain concatenation.
void composeDirectly(const std::string& app, const std::string& code) {
  const std::string root = productRoot();
  HKEY key = nullptr;
  std::string domain, language, base, platform;
  if (RegOpenKeyA(HKEY_CURRENT_USER, (root + "\\Tessaline modules").c_str(), &key) ==
      ERROR_SUCCESS) {
    domain = readString(key, "ActiveDomainKey");
    RegCloseKey(key);
  }
  DWORD useChm = 0, size = sizeof useChm;
  if (RegOpenKeyA(HKEY_CURRENT_USER, (root + "\\Kernel Services").c_str(), &key) == ERROR_SUCCESS) {
    RegQueryValueExA(key, "Use CHM Help", nullptr, nullptr, reinterpret_cast<BYTE*>(&useChm),
                     &size);
    language = readString(key, "Help LanguageCode");
    base = readString(key, "Help BaseUrl");
    platform = readString(key, "Help Platform");
    RegCloseKey(key);
  }
  const std::string help = app + "\\Help\\";
  if (language.empty()) {
    const std::string exceptions = restAfter(help + "Tessaline_Wiki_Exeptions.cfg", domain, ';');
    if (const auto at = exceptions.find(code + "="); at != std::string::npos) {
      language = exceptions.substr(at + code.size() + 1);
      language.resize(std::min(language.size(), language.find(';')));
    }
  }
  std::string page = pageInFolder(help + "WikiCfg\\" + domain);
  if (page.empty()) {
    page = pageInFolder(help + "WikiCfg");
  }
  if (language.empty()) {
    language = restAfter(help + "Tessaline_Wiki_Help_Language_Mapping.cfg", code, '=');
  }
  lastAddress =
      base + "/doku.php/" + (language.empty() ? "en" : language) + ":" + platform + ":" + page;
}

// Topic lines for count topics from first, every one with a page.
std::string topicLines(int first, int count) {
  std::string lines = "// topic;page;help topics;help name\n";
  for (int topic = first; topic < first + count; ++topic) {
    lines += std::to_string(topic) + "; roads:page" + std::to_string(topic) + " ; " +
             std::to_string(topic % 97) + "," + std::to_string(topic % 89) + " ; roadhelp ;\n";
  }
  return lines;
}

bool timeWikiHelp() {
  const std::string app = TsEnGetAppPath(), code = TsEnGetLanguageCode();
  const std::filesystem::path help = std::filesystem::path(app) / "Help";
  // The help files of an installation, in text mode as an editor writes them.
  for (const auto& [name, content] : std::initializer_list<std::pair<const char*, std::string>>{
           {"Tessaline_Wiki_Exeptions.cfg",
            "// domain;code=wiki language or CHM\nRAIL;NOR=CHM;\n"
            "BRIDGE;DAN=da;\nROAD;DAN=da;SWE=sv;\nSURVEY;NOR=CHM;\n"},
           {"Tessaline_Wiki_Help_Language_Mapping.cfg",
            "DAN=da\nDEU=de\nENU=en\nESP=es\nFRA=fr\nITA=it\nNLD=nl\nNOR=no\nSWE=sv\n"},
           {"WikiCfg/ROAD/road_a.cfg", topicLines(100, 40)},
           {"WikiCfg/ROAD/road_b.cfg", topicLines(200, 40)},
           {"WikiCfg/bridges.cfg", topicLines(1000, 60)},
           {"WikiCfg/roads.cfg", topicLines(kTopic - 30, 60)},
           {"WikiCfg/survey.cfg", topicLines(3000, 60)}}) {
    std::filesystem::create_directories((help / name).parent_path());
    std::ofstream(help / name) << content;
  }
  // The library's shell call and message boxes go through this program's
  // imports, the library's code being linked in.
  using tsen::testsupport::ImportSwap;
  const ImportSwap<decltype(ShellExecuteA)> shell(GetModuleHandleA(nullptr), "shell32.dll",
                                                  "ShellExecuteA", recordShell);
  const ImportSwap<decltype(MessageBoxA)> box(GetModuleHandleA(nullptr), "user32.dll",
                                              "MessageBoxA", countBox);
  const auto library = [] { TsEnWikiHelp(kTopic); };
  const auto byHand = [&] { composeDirectly(app, code); };
  library();
  const std::string libraryAddress = lastAddress;
  byHand();
  const bool same = shell.swapped() && box.swapped() && !libraryAddress.empty() &&
                    libraryAddress == lastAddress && boxes == 0;
  if (same) {
    compare("TsEnWikiHelp", library, "TsEnWikiHelp by hand", byHand, 2000, 101);
  } else {
    std::fprintf(stderr, "the two roads differ: library %s, by hand %s, %d message boxes\n",
                 libraryAddress.c_str(), lastAddress.c_str(), boxes);
  }
  std::error_code ignored;
  std::filesystem::remove_all(help, ignored);
  return same;
}

// ---- The command log ------------------------------------------------------------

bool timeCommandLog() {
  const std::string folder = TsEnGetUserDataPath(), log = folder + "\\TessalineCommand.log";
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (folder.empty() || failed ||
      TsEnBuildFilename("<USERDATA>\\TessalineCommand.log", TsEnBaseNone, 0) != log) {
    return fails("no user data folder, or the library names another log");
  }
  // What the library writes for one line, but with a fixed time stamp.
  char stamp[32] = {};
  const std::time_t now = std::time(nullptr);
  std::strftime(stamp, sizeof stamp, "%Y.%m.%d, %H:%M:%S", std::localtime(&now));
  const std::string line = std::string("BenchCommand;") + stamp + ";Road;info\r\n";
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
  compare(
      "LogCommandInfo", [] { LogCommandInfo("BenchCommand", "Road", "info"); },
      "CreateFileA, WriteFile, CloseHandle", appendBare, 3000, 15);
  std::filesystem::remove_all(folder, failed);
  return true;
}

} // namespace

int main() {
  const ProductKeys keys;
  // A configuration of this process's own, so the log is this run's alone.
  const std::string kernel = std::string(kRoot) + "\\Kernel Services";
  const DWORD off = 0;
  bool prepared = setValue(kFlagKey, "QVRConnect", REG_DWORD, &off, sizeof off);
  for (const auto& [key, name, text] :
       {std::tuple{kernel, "Current Config", "Timing-" + std::to_string(GetCurrentProcessId())},
        {kernel, "Language", "NOR"},
        {kernel, "Help BaseUrl", "tsentiming://wiki.test"},
        {kernel, "Help Platform", "civil"},
        {std::string(kRoot) + "\\Tessaline modules", "ActiveDomainKey", "ROAD"}}) {
    prepared = prepared && setValue(key, name, REG_SZ, text.c_str(), text.size() + 1);
  }
  if (!prepared || TsEnGetAppPath().empty()) {
    fails("cannot prepare the registry, or not the copy built into a folder named Binaries");
    return 1;
  }
  int failed = 0;
  for (bool (*timing)() : {timeConfigurationRead, timeExpansion, timeWikiHelp, timeCommandLog}) {
    failed += timing() ? 0 : 1;
  }
  return failed == 0 ? 0 : 1;
}
