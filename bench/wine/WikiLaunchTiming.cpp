// What a wiki help request costs over composing its address by hand: the
// time of TsEnWikiHelp up to its shell call, against reading the same
// registry values (RegOpenKeyA, RegQueryValueExA) and files (FindFirstFileA,
// fopen, fgets) directly and joining the address with plain concatenation.
// The shell call is recorded, not made: no process starts. Goal: within
// 1.3 times. Prints the parts of a request and the system calls each side
// makes, so that a miss shows where the time goes.
//   WikiLaunchTiming [CALLS_PER_ROUND]   (101 rounds, 20 calls each by default)
// Run the copy built into a folder named Binaries, whose parent serves as
// the application folder; it owns the product keys while it runs.
#include "TsEnvironment.h"

#include "help/HelpInternal.h"
#include "tests/wine/help/HelpAppFolder.h"
#include "tests/wine/help_entry/ImportSwap.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace tsen::testing;
using Clock = std::chrono::steady_clock;

constexpr int kTopic = 4711;
constexpr const char* kDomain = "ROAD";

// ---- The shell call, recorded -------------------------------------------------

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

// ---- System calls, counted ------------------------------------------------------

struct Counts {
  int regOpens = 0, regQueries = 0, fileOpens = 0, listings = 0;
};
Counts counts;
decltype(&RegOpenKeyA) realRegOpenKey;
decltype(&RegQueryValueExA) realRegQueryValue;
decltype(&FindFirstFileA) realFindFirstFile;
FILE* (*realFopen)(const char*, const char*);

LONG WINAPI countRegOpenKey(HKEY root, LPCSTR key, PHKEY opened) {
  ++counts.regOpens;
  return realRegOpenKey(root, key, opened);
}
LONG WINAPI countRegQueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                               LPDWORD size) {
  ++counts.regQueries;
  return realRegQueryValue(key, name, reserved, type, data, size);
}
HANDLE WINAPI countFindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  ++counts.listings;
  return realFindFirstFile(pattern, found);
}
FILE* countFopen(const char* path, const char* mode) {
  ++counts.fileOpens;
  return realFopen(path, mode);
}

// ---- The same request, by hand ------------------------------------------------------

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

// Every blank, tab and line end gone, cut at "//".
std::string squeezed(const char* line) {
  std::string text;
  for (const char* c = line; *c && !(c[0] == '/' && c[1] == '/'); ++c) {
    if (*c != ' ' && *c != '\t' && *c != '\n') {
      text += *c;
    }
  }
  return text;
}

// The page of topic in a "topic;page;..." file.
bool pageIn(const std::string& path, std::string& page) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (!file) {
    return false;
  }
  char line[1024];
  bool found = false;
  while (!found && std::fgets(line, sizeof line, file)) {
    const std::string text = squeezed(line);
    const auto cut = text.find(';');
    if (cut != std::string::npos && std::atol(text.c_str()) == kTopic) {
      page = text.substr(cut + 1, text.find(';', cut + 1) - cut - 1);
      found = !page.empty();
    }
  }
  std::fclose(file);
  return found;
}

bool pageInFolder(const std::string& folder, std::string& page) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*.cfg").c_str(), &entry);
  bool found = false;
  for (bool more = find != INVALID_HANDLE_VALUE; more && !found;
       more = FindNextFileA(find, &entry)) {
    found = pageIn(folder + "\\" + entry.cFileName, page);
  }
  if (find != INVALID_HANDLE_VALUE) {
    FindClose(find);
  }
  return found;
}

// The value behind "<code>=" on the line of the domain, "" without one.
std::string exceptionFor(const std::string& path, const std::string& domain,
                         const std::string& code) {
  std::string value;
  if (FILE* file = std::fopen(path.c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
      const std::string text = squeezed(line);
      if (text.compare(0, text.find(';'), domain) == 0) {
        const auto at = text.find(code + "=");
        if (at != std::string::npos) {
          value = text.substr(at + code.size() + 1, text.find(';', at) - at - code.size() - 1);
        }
        break;
      }
    }
    std::fclose(file);
  }
  return value;
}

std::string mappedLanguage(const std::string& path, const std::string& code) {
  std::string language = "en";
  if (FILE* file = std::fopen(path.c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
      const std::string text = squeezed(line);
      if (text.compare(0, text.find('='), code) == 0) {
        language = text.substr(text.find('=') + 1);
        break;
      }
    }
    std::fclose(file);
  }
  return language;
}

void composeDirectly(const std::string& app, const std::string& code) {
  HKEY key = nullptr;
  DWORD flag = 0;
  if (RegOpenKeyA(HKEY_CURRENT_USER, kFlagKey, &key) == ERROR_SUCCESS) {
    DWORD size = sizeof flag;
    RegQueryValueExA(key, kFlagValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&flag), &size);
    RegCloseKey(key);
  }
  const std::string root = flag == 1 ? kRoot1901 : kRoot1840;
  std::string domain;
  if (RegOpenKeyA(HKEY_CURRENT_USER, (root + "\\Tessaline modules").c_str(), &key) ==
      ERROR_SUCCESS) {
    domain = readString(key, "ActiveDomainKey");
    RegCloseKey(key);
  }
  DWORD useChm = 0;
  std::string language, base = "https://help.invalid", platform = "ts";
  if (RegOpenKeyA(HKEY_CURRENT_USER, (root + "\\Kernel Services").c_str(), &key) == ERROR_SUCCESS) {
    DWORD size = sizeof useChm;
    RegQueryValueExA(key, "Use CHM Help", nullptr, nullptr, reinterpret_cast<BYTE*>(&useChm),
                     &size);
    language = readString(key, "Help LanguageCode");
    base = readString(key, "Help BaseUrl");
    platform = readString(key, "Help Platform");
    RegCloseKey(key);
  }
  const std::string help = app + "\\Help\\";
  const std::string exception = exceptionFor(help + "Tessaline_Wiki_Exeptions.cfg", domain, code);
  if (language.empty()) {
    language = exception;
  }
  std::string page;
  if (!pageInFolder(help + "WikiCfg\\" + domain, page)) {
    pageInFolder(help + "WikiCfg", page);
  }
  if (language.empty()) {
    language = mappedLanguage(help + "Tessaline_Wiki_Help_Language_Mapping.cfg", code);
  }
  recordShell(nullptr, "open",
              (base + "/doku.php/" + language + ":" + platform + ":" + page).c_str(), nullptr,
              nullptr, SW_SHOWNORMAL);
}

// ---- The installation ------------------------------------------------------------

// Topic lines for count topics from first, every one with a page.
std::string topicLines(int first, int count) {
  std::string lines = "// topic;page;help topics;help name\n";
  for (int topic = first; topic < first + count; ++topic) {
    lines += std::to_string(topic) + "; roads:page" + std::to_string(topic) + " ; " +
             std::to_string(topic % 97) + "," + std::to_string(topic % 89) + " ; roadhelp ;\n";
  }
  return lines;
}

void install(const HelpAppFolder& app) {
  setLanguageCode("NOR");
  setActiveDomain(kDomain);
  setKernelString("Help BaseUrl", "tsentiming://wiki.test");
  setKernelString("Help Platform", "civil");
  app.writeHelp("Tessaline_Wiki_Exeptions.cfg",
                "// domain;code=wiki language or CHM\nRAIL;NOR=CHM;\nBRIDGE;DAN=da;\n"
                "ROAD;DAN=da;SWE=sv;\nSURVEY;NOR=CHM;\n",
                true);
  app.writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg",
                "DAN=da\nDEU=de\nENU=en\nESP=es\nFRA=fr\nITA=it\nNLD=nl\nNOR=no\nSWE=sv\n", true);
  app.writeHelp("WikiCfg\\ROAD\\road_a.cfg", topicLines(100, 40), true);
  app.writeHelp("WikiCfg\\ROAD\\road_b.cfg", topicLines(200, 40), true);
  app.writeHelp("WikiCfg\\bridges.cfg", topicLines(1000, 60), true);
  app.writeHelp("WikiCfg\\roads.cfg", topicLines(kTopic - 30, 60), true);
  app.writeHelp("WikiCfg\\survey.cfg", topicLines(3000, 60), true);
}

// ---- Timing ------------------------------------------------------------------------

double median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// The mean time of one call over calls calls, in microseconds.
double microsecondsPerCall(int calls, const std::function<void()>& call) {
  const auto start = Clock::now();
  for (int i = 0; i < calls; ++i) {
    call();
  }
  const std::chrono::duration<double, std::micro> elapsed = Clock::now() - start;
  return elapsed.count() / calls;
}

Counts countsOf(const std::function<void()>& call) {
  const ImportSwap<decltype(RegOpenKeyA)> open(GetModuleHandleA(nullptr), "advapi32.dll",
                                               "RegOpenKeyA", countRegOpenKey);
  const ImportSwap<decltype(RegQueryValueExA)> query(GetModuleHandleA(nullptr), "advapi32.dll",
                                                     "RegQueryValueExA", countRegQueryValue);
  const ImportSwap<decltype(FindFirstFileA)> list(GetModuleHandleA(nullptr), "kernel32.dll",
                                                  "FindFirstFileA", countFindFirstFile);
  const ImportSwap<FILE*(const char*, const char*)> fopens(GetModuleHandleA(nullptr), "msvcrt.dll",
                                                           "fopen", countFopen);
  realRegOpenKey = open.original();
  realRegQueryValue = query.original();
  realFindFirstFile = list.original();
  realFopen = fopens.original();
  if (!open.swapped() || !query.swapped() || !list.swapped() || !fopens.swapped()) {
    std::puts("(some system calls could not be counted)");
  }
  counts = {};
  call();
  return counts;
}

} // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const int rounds = 101;
  const ProductKeysGuard keys;
  const HelpAppFolder app;
  if (TsEnGetAppPath() != app.path()) {
    std::printf("Run the copy in a folder named Binaries (the application folder is \"%s\").\n",
                TsEnGetAppPath().c_str());
    return 1;
  }
  install(app);
  const std::string code = TsEnGetLanguageCode(); // kept by the library once read

  // The library's shell call and message boxes go through the imports of the
  // module that holds it: this program, or the DLL.
  HMODULE library = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&TsEnWikiHelp), &library);
  const ImportSwap<decltype(ShellExecuteA)> shell(library, "shell32.dll", "ShellExecuteA",
                                                  recordShell);
  const ImportSwap<decltype(MessageBoxA)> box(library, "user32.dll", "MessageBoxA", countBox);
  if (!shell.swapped() || !box.swapped()) {
    std::puts("The library's ShellExecuteA or MessageBoxA import was not found.");
    return 1;
  }

  TsEnWikiHelp(kTopic);
  const std::string libraryAddress = lastAddress;
  composeDirectly(app.path(), code);
  std::printf("address: %s\n", libraryAddress.c_str());
  if (libraryAddress != lastAddress || boxes != 0) {
    std::printf("The two roads differ: by hand %s, %d message boxes.\n", lastAddress.c_str(),
                boxes);
    return 1;
  }

  // Short rounds of each in turn, so that the load of a shared machine
  // weighs on both alike; the medians of the rounds and of their ratios.
  const auto wikiHelp = [] { TsEnWikiHelp(kTopic); };
  const auto byHand = [&] { composeDirectly(app.path(), code); };
  microsecondsPerCall(calls, wikiHelp);
  microsecondsPerCall(calls, byHand);
  std::vector<double> libraryRounds, directRounds, ratios;
  for (int round = 0; round < rounds; ++round) {
    libraryRounds.push_back(microsecondsPerCall(calls, wikiHelp));
    directRounds.push_back(microsecondsPerCall(calls, byHand));
    ratios.push_back(libraryRounds.back() / directRounds.back());
  }
  const double ratio = median(ratios);
  std::printf("TsEnWikiHelp to the shell call: %9.1f us\n", median(libraryRounds));
  std::printf("the same by hand:               %9.1f us\n", median(directRounds));
  std::printf("ratio (median of %d rounds of %d calls each): %.2f (goal 1.30 or less): %s\n",
              rounds, calls, ratio, ratio <= 1.3 ? "met" : "MISSED");

  const Counts libraryCounts = countsOf(wikiHelp), directCounts = countsOf(byHand);
  std::printf("system calls per request    library  by hand\n");
  std::printf("  registry key opens        %7d  %7d\n", libraryCounts.regOpens,
              directCounts.regOpens);
  std::printf("  registry value queries    %7d  %7d\n", libraryCounts.regQueries,
              directCounts.regQueries);
  std::printf("  folder listings           %7d  %7d\n", libraryCounts.listings,
              directCounts.listings);
  std::printf("  files opened              %7d  %7d\n", libraryCounts.fileOpens,
              directCounts.fileOpens);

  // The library's request, step by step.
  using namespace tsen::help;
  const std::string domain = getActiveTessalineDomain();
  const std::string page = FindWikiPage(kTopic);
  std::string exceptionLanguage = code;
  const struct {
    const char* name;
    std::function<void()> call;
  } parts[] = {
      {"layout flag (TsEnQVRConnect)", [] { TsEnQVRConnect(); }},
      {"active domain", [] { getActiveTessalineDomain(); }},
      {"language code (kept)", [] { TsEnGetLanguageCode(); }},
      {"exceptions file and switch", [&] { ReadWikiException(domain, exceptionLanguage = code); }},
      {"topic files", [] { FindWikiPage(kTopic); }},
      {"language mapping file", [] { ReadWikiLanguageMapping(); }},
      {"address and shell call", [&] { LaunchWikiPage(page, ""); }},
      {"one registry value by hand",
       [] {
         HKEY key = nullptr;
         if (RegOpenKeyA(HKEY_CURRENT_USER, kKernel1840, &key) == ERROR_SUCCESS) {
           readString(key, "Help BaseUrl");
           RegCloseKey(key);
         }
       }},
  };
  std::printf("parts of the library's request:\n");
  for (const auto& part : parts) {
    std::vector<double> times;
    for (int round = 0; round < rounds / 4 + 1; ++round) {
      times.push_back(microsecondsPerCall(calls, part.call));
    }
    std::printf("  %-32s %9.1f us\n", part.name, median(times));
  }
  return 0;
}
