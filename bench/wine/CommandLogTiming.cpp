// How many lines a second the command log takes against a bare loop that
// opens the same file for appending, writes the same line and closes it;
// the last command stored with logging on and off; and, to show where the
// time goes, each registry, shell and file step of a log line on its own.
//   CommandLogTiming [ROUNDS]
// It owns the suite's product keys while it runs: no tests at the same time.
#include "TsEnvironment.h"

#include "bench/wine/Timing.h"
#include "tests/wine/ProductKeysGuard.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

using namespace tsen::testing;
using tsen::bench::fastest;

const std::string kModulesKey = std::string(kRoot1840) + "\\Tessaline modules";

std::string roamingFolder() {
  char buffer[MAX_PATH] = {};
  return SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK
             ? buffer
             : "";
}

// What the library writes for one line, but with a fixed time stamp.
std::string sameLine() {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "%Y.%m.%d, %H:%M:%S", std::localtime(&now));
  return std::string("BenchCommand;") + stamp + ";Road;info\r\n";
}

void appendBare(const std::string& file, const std::string& line, DWORD access, bool lock) {
  const HANDLE handle = CreateFileA(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return;
  }
  OVERLAPPED turn{};
  turn.OffsetHigh = 0x40000000;
  const bool locked = lock && LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn);
  DWORD written = 0;
  WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  if (locked) {
    UnlockFileEx(handle, 0, 1, 0, &turn);
  }
  CloseHandle(handle);
}

void logSwitchRead() {
  TsEnWinRegistry registry;
  TsEnLong value = 1;
  if (registry.OpenKey(HKEY_CURRENT_USER, TsEnBuildRegKey("Tessaline modules"), false)) {
    registry.ReadLong("LogCommands", value);
  }
}

void row(const char* what, double nanoseconds, double bare) {
  std::printf("%-44s %9.1f us %9.0f /s %6.2fx\n", what, nanoseconds / 1000, 1e9 / nanoseconds,
              bare / nanoseconds);
}

} // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3000;
  if (rounds <= 0) {
    return 2;
  }
  const ProductKeysGuard guard;
  const std::string config = "Timing-" + std::to_string(GetCurrentProcessId());
  const std::string roaming = roamingFolder();
  const std::filesystem::path folder =
      std::filesystem::path(roaming) / "Quarzel" / "Tessaline" / "18.40" / config;
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (roaming.empty() || failed || !setFlag(0) ||
      !writeRaw(HKEY_CURRENT_USER, kKernel1840, "Current Config", REG_SZ, bytesOf(config + '\0')) ||
      !writeRaw(HKEY_CURRENT_USER, kModulesKey, "ActiveDomainKey", REG_SZ,
                bytesOf(std::string("Road", 5)))) {
    std::fputs("cannot prepare the registry or the user data folder\n", stderr);
    return 1;
  }
  const std::string log = (folder / "TessalineCommand.log").string();
  if (TsEnBuildFilename("<USERDATA>\\TessalineCommand.log", TsEnBaseNone, 0) != log) {
    std::fputs("the library names another log\n", stderr);
    return 1;
  }
  const std::string line = sameLine();

  // The log against the bare loop, alternating, each keeping its best.
  double library = 1e300;
  double bare = 1e300;
  for (int pass = 0; pass < 3; ++pass) {
    library =
        std::min(library, fastest(rounds, [] { LogCommandInfo("BenchCommand", "Road", "info"); }));
    bare = std::min(bare, fastest(rounds, [&] { appendBare(log, line, FILE_APPEND_DATA, false); }));
  }
  std::printf("%-44s %12s %12s %7s\n", "", "per line", "lines", "vs bare");
  row("bare CreateFileA/WriteFile/CloseHandle", bare, bare);
  row("LogCommandInfo", library, bare);
  row("setLastTessalineCommand, logging on",
      fastest(rounds, [] { setLastTessalineCommand("BenchCommand"); }), bare);
  if (!writeRaw(HKEY_CURRENT_USER, kModulesKey, "LogCommands", REG_DWORD, dwordBytes(0))) {
    return 1;
  }
  row("setLastTessalineCommand, logging off",
      fastest(rounds, [] { setLastTessalineCommand("BenchCommand"); }), bare);
  row("LogCommandInfo, logging off",
      fastest(rounds, [] { LogCommandInfo("BenchCommand", "Road", "info"); }), bare);

  std::puts("\nsteps of one line:");
  row("  TsEnQVRConnect", fastest(rounds, [] { TsEnQVRConnect(); }), bare);
  row("  LogCommands read (open modules key)", fastest(rounds, logSwitchRead), bare);
  row("  TsEnGetCurrentConfig", fastest(rounds, [] { TsEnGetCurrentConfig(); }), bare);
  row("  getActiveTessalineDomain", fastest(rounds, [] { getActiveTessalineDomain(); }), bare);
  row("  SHGetFolderPathA(CSIDL_APPDATA)", fastest(rounds, [] { roamingFolder(); }), bare);
  row("  TsEnGetUserDataPath", fastest(rounds, [] { TsEnGetUserDataPath(); }), bare);
  row("  TsEnBuildFilename(<USERDATA>\\...)",
      fastest(rounds,
              [] { TsEnBuildFilename("<USERDATA>\\TessalineCommand.log", TsEnBaseNone, 0); }),
      bare);
  row("  bare append with read access and lock",
      fastest(rounds, [&] { appendBare(log, line, FILE_APPEND_DATA | FILE_READ_DATA, true); }),
      bare);

  std::filesystem::remove_all(folder, failed);
  return 0;
}
