// Folders from the environment, the module's own file, the browser launch
// and the help viewer.
#include "TestFiles.h"
#include "platform/portable/PathConversion.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace tsen::platform::testing {
namespace {

// Every test runs in a process of its own and sets what it needs.
void setEnv(const char* name, const char* value) {
  value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
}

TEST(PortableSystemServices, FoldersComeFromTheEnvironmentWithBackslashes) {
  const struct {
    const char *configHome, *home, *dataDirs, *tmpDir;
    std::optional<std::string> roaming;
    std::string common, temp;
  } cases[] = {
      {"/cfg/home", "/home/u", "/data/a:/data/b", "/var/tmp", "\\cfg\\home", "\\data\\a",
       "\\var\\tmp\\"},
      {nullptr, "/home/u", "relative:/data/b", "/var/tmp/", "\\home\\u\\.config", "\\data\\b",
       "\\var\\tmp\\"},
      {nullptr, nullptr, nullptr, "/x//", std::nullopt, "\\usr\\share", "\\x\\\\"},
      {"relative", "/home/u", "", nullptr, "\\home\\u\\.config", "\\usr\\share", "\\tmp\\"},
  };
  // The last case leaves TMPDIR unset, for the scratch folders of later tests.
  for (const auto& folders : cases) {
    setEnv("XDG_CONFIG_HOME", folders.configHome);
    setEnv("HOME", folders.home);
    setEnv("XDG_DATA_DIRS", folders.dataDirs);
    setEnv("TMPDIR", folders.tmpDir);
    EXPECT_EQ(knownFolder(KnownFolder::roamingAppData), folders.roaming);
    EXPECT_EQ(knownFolder(KnownFolder::commonFiles), folders.common);
    EXPECT_EQ(tempFolder(), folders.temp);
  }
}

TEST(PortableSystemServices, ModuleFileNameNamesTheFileHoldingThisCode) {
  // Linked statically into this test, the backend lives in the program file.
  std::string name = moduleFileName();
  ASSERT_TRUE(name.starts_with('\\')) << name;
  std::ranges::replace(name, '\\', '/');
  EXPECT_TRUE(std::filesystem::equivalent(name, "/proc/self/exe")) << name;
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
  setEnv("PATH", folder.path().c_str());
  // Commands a shell would run, if one were involved.
  const std::string address = "https://wiki/doku.php/en:ts:start?a=1&b=$(/bin/touch " +
                              (folder / "pwned") + ")`/bin/touch " + (folder / "pwned") + "`;x";
  EXPECT_EQ(recordedArgument(folder, "xdg-open", [&] { EXPECT_GT(shellOpen(address), 32); }),
            address);
  EXPECT_FALSE(pathFileExists(folder / "pwned"));
  setEnv("PATH", (folder / "empty").c_str());
  EXPECT_EQ(shellOpen(address), 2) << "no xdg-open: file not found";
}

TEST(PortableSystemServices, CompiledHelpOpensInTheFirstViewerOnPath) {
  const ScratchFolder folder;
  setEnv("PATH", folder.path().c_str());
  writeWhole(folder / "Road Help.chm", "");
  const std::string chm = portable::withBackslashes(folder / "Road Help.chm");
  EXPECT_EQ(recordedArgument(folder, "kchmviewer",
                             [&] { EXPECT_TRUE(htmlHelp(chm, kHhHelpContext, 20)); }),
            folder / "Road Help.chm");
  EXPECT_FALSE(htmlHelp(portable::withBackslashes(folder / "Missing.chm"), kHhDisplayToc, 0));
}

} // namespace
} // namespace tsen::platform::testing
