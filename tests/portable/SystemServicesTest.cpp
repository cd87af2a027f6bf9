// Folders from the environment, the module's own file, the browser launch.
#include "TestFiles.h"
#include "platform/Platform.h"
#include "platform/portable/PathConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

namespace tsen::platform::testing {
namespace {

using portable::withBackslashes;

// Sets or unsets environment variables for one test.
class Environment {
public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~Environment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      it->second ? ::setenv(it->first.c_str(), it->second->c_str(), 1)
                 : ::unsetenv(it->first.c_str());
    }
  }

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

struct FolderCase {
  const char* configHome;
  const char* home;
  const char* dataDirs;
  const char* tmpDir;
  std::optional<std::string> roaming;
  std::string common;
  std::string temp;
};

TEST(PortableSystemServices, FoldersComeFromTheEnvironmentWithBackslashes) {
  const FolderCase cases[] = {
      {"/cfg/home", "/home/u", "/data/a:/data/b", "/var/tmp", "\\cfg\\home", "\\data\\a",
       "\\var\\tmp\\"},
      {nullptr, "/home/u", "relative:/data/b", "/var/tmp/", "\\home\\u\\.config", "\\data\\b",
       "\\var\\tmp\\"},
      {"relative", "/home/u", "", nullptr, "\\home\\u\\.config", "\\usr\\share", "\\tmp\\"},
      {nullptr, nullptr, nullptr, "/x//", std::nullopt, "\\usr\\share", "\\x\\\\"},
  };
  for (const FolderCase& folders : cases) {
    Environment environment;
    environment.set("XDG_CONFIG_HOME", folders.configHome);
    environment.set("HOME", folders.home);
    environment.set("XDG_DATA_DIRS", folders.dataDirs);
    environment.set("TMPDIR", folders.tmpDir);
    EXPECT_EQ(knownFolder(KnownFolder::roamingAppData), folders.roaming);
    EXPECT_EQ(knownFolder(KnownFolder::commonFiles), folders.common);
    EXPECT_EQ(tempFolder(), folders.temp);
  }
}

TEST(PortableSystemServices, ModuleFileNameNamesTheFileHoldingThisCode) {
  // Linked statically into this test, the backend lives in the program file.
  const std::string name = moduleFileName();
  ASSERT_TRUE(name.starts_with('\\')) << name;
  std::string hostName = name;
  std::ranges::replace(hostName, '\\', '/');
  EXPECT_TRUE(std::filesystem::equivalent(hostName, "/proc/self/exe")) << name;
}

// A stand-in for program in folder that writes its first argument to
// folder/recorded, and the wait for it to have done so.
std::string recordedArgument(const ScratchFolder& folder, const std::string& program,
                             const std::function<void()>& start) {
  const std::string recorded = folder / "recorded";
  std::filesystem::remove(recorded);
  writeWhole(folder / program, "#!/bin/sh\nprintf '%s' \"$1\" > '" + recorded + ".part'\n" +
                                   "/bin/mv '" + recorded + ".part' '" + recorded + "'\n");
  std::filesystem::permissions(folder / program, std::filesystem::perms::owner_all);
  start();
  for (int wait = 0; wait < 100 && !pathFileExists(recorded); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return readWhole(recorded);
}

TEST(PortableSystemServices, AddressesReachTheBrowserUnchangedAndNeverAShell) {
  const ScratchFolder folder;
  Environment environment;
  environment.set("PATH", folder.path().c_str());
  // Commands a shell would run, if one were involved.
  const std::string address = "https://wiki/doku.php/en:ts:start?a=1&b=$(/bin/touch " +
                              (folder / "pwned") + ")`/bin/touch " + (folder / "pwned") + "`;x";
  const std::string received =
      recordedArgument(folder, "xdg-open", [&] { EXPECT_GT(shellOpen(address), 32); });
  EXPECT_EQ(received, address);
  EXPECT_FALSE(pathFileExists(folder / "pwned"));

  environment.set("PATH", (folder / "empty").c_str());
  EXPECT_EQ(shellOpen(address), 2) << "no xdg-open: file not found";
}

TEST(PortableSystemServices, CompiledHelpOpensInTheFirstViewerOnPath) {
  const ScratchFolder folder;
  Environment environment;
  environment.set("PATH", folder.path().c_str());
  writeWhole(folder / "Road Help.chm", "");
  const std::string received = recordedArgument(folder, "kchmviewer", [&] {
    EXPECT_TRUE(htmlHelp(withBackslashes(folder / "Road Help.chm"), kHhHelpContext, 20));
  });
  EXPECT_EQ(received, folder / "Road Help.chm");
  EXPECT_FALSE(htmlHelp(withBackslashes(folder / "Missing.chm"), kHhDisplayToc, 0));
}

} // namespace
} // namespace tsen::platform::testing
