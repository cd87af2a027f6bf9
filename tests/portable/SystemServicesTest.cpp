// The platform services on the host's real files, environment and programs:
// files, folders, listings and appends; the folders from the environment;
// the browser and the help viewer. (The module's own file is shown by tsenv's
// tests, which find the staged suite from it.)
#include "TestFiles.h"
#include "platform/portable/PathConversion.h"

#include <chrono>
#include <future>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>

namespace tsen::platform::testing {
namespace {

using portable::withBackslashes;

TEST(PortableFileSystem, SearchPathFillsTheBufferOnlyWhenThePathFits) {
  const ScratchFolder folder;
  writeWhole(folder / "Road.RC.NOR.DLL", "");
  const std::string windowsFolder = withBackslashes(folder.path);
  const std::string expected = windowsFolder + "\\Road.RC.NOR.DLL";
  const auto length = static_cast<std::uint32_t>(expected.size());
  std::string buffer(length + 1, '#');
  const auto search = [&](const char* name, const char* extension, std::uint32_t size) {
    return searchPath(windowsFolder.c_str(), name, extension, size, buffer.data());
  };
  EXPECT_EQ(search("Road.RC.NOR.DLL", ".xxx", length), length + 1);
  EXPECT_EQ(buffer, std::string(length + 1, '#'));
  EXPECT_EQ(search("Road.RC.NOR.DLL", ".xxx", length + 1), length);
  EXPECT_EQ(buffer, expected + '\0');
  EXPECT_EQ(search("Road.RC.Eng.DLL", ".xxx", length + 1), 0u);
  EXPECT_EQ(search("Road.RC", ".NOR.DLL", length + 1), 0u) << "a name with an extension keeps it";
}

TEST(PortableFileSystem, ListingMatchesLikeFindFirstFile) {
  const ScratchFolder folder;
  for (const char* file : {"a.cfg", "B.CFG", "c.cfgx", "d.txt", ".cfg"}) {
    writeWhole(folder / file, "");
  }
  std::filesystem::create_directory(folder / "x.Cfg");
  std::multiset<std::string> names;
  std::string name;
  const UniqueListing listing = openListing(withBackslashes(folder / "*.cfg"), name);
  for (bool more = listing != nullptr; more; more = nextInListing(*listing, name)) {
    names.insert(name);
  }
  EXPECT_EQ(names, (std::multiset<std::string>{".cfg", "B.CFG", "a.cfg", "x.Cfg"}));
  EXPECT_EQ(openListing(withBackslashes(folder / "*.none"), name), nullptr);
  EXPECT_EQ(openListing(withBackslashes(folder / "missing\\*.cfg"), name), nullptr);
}

TEST(PortableFileSystem, FoldersAreCreatedWithTheirParentsAndFilesOpenOnlyAsFiles) {
  const ScratchFolder folder;
  const std::string nested = withBackslashes(folder / "a/b/c") + '\\';
  EXPECT_FALSE(pathFileExists(nested));
  EXPECT_TRUE(createFolders(nested));
  EXPECT_FALSE(createFolders(nested)) << "an existing folder is not created again";
  EXPECT_TRUE(pathFileExists(nested) && canRead(nested));
  EXPECT_EQ(openFile(nested, "r"), nullptr);
  EXPECT_EQ(openFile(nested + "missing.txt", "r"), nullptr);
  writeWhole(folder / "a/b/c/file.txt", "text");
  EXPECT_NE(openFile(nested + "file.txt", "r"), nullptr);
}

TEST(PortableFileSystem, AppendsWaitForTheLockAndNeverCreateTheFolder) {
  const ScratchFolder folder;
  EXPECT_FALSE(appendToFile(withBackslashes(folder / "missing/log.txt"), "x\n"));
  const std::string log = folder / "log.txt";
  ASSERT_TRUE(appendToFile(withBackslashes(log), "first\n"));
  // Another writer holds the lock: the append waits for it.
  const int other = ::open(log.c_str(), O_WRONLY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  auto appended = std::async(std::launch::async, appendToFile, withBackslashes(log), "second\n");
  EXPECT_EQ(appended.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  ::close(other); // which unlocks
  EXPECT_TRUE(appended.get());
  EXPECT_EQ(readWhole(log), "first\nsecond\n");
}

// Each test runs in a process of its own: what it sets needs no undoing.
TEST(PortableSystemServices, FoldersComeFromTheEnvironmentWithBackslashes) {
  ::setenv("XDG_CONFIG_HOME", "relative", 1); // relative XDG folders are ignored
  ::setenv("HOME", "/home/u", 1);
  ::setenv("XDG_DATA_DIRS", "relative:/data/b", 1);
  ::setenv("TMPDIR", "/x//", 1);
  EXPECT_EQ(knownFolder(KnownFolder::roamingAppData), "\\home\\u\\.config");
  EXPECT_EQ(knownFolder(KnownFolder::commonFiles), "\\data\\b");
  EXPECT_EQ(tempFolder(), "\\x\\\\");
  for (const char* name : {"XDG_CONFIG_HOME", "HOME", "XDG_DATA_DIRS", "TMPDIR"}) {
    ::unsetenv(name);
  }
  EXPECT_EQ(knownFolder(KnownFolder::roamingAppData), std::nullopt);
  EXPECT_EQ(knownFolder(KnownFolder::commonFiles), "\\usr\\share");
  EXPECT_EQ(tempFolder(), "\\tmp\\");
}

TEST(PortableSystemServices, AddressesAndHelpFilesReachTheirProgramUnchangedAndNeverAShell) {
  const ScratchFolder folder;
  ::setenv("PATH", folder.path.c_str(), 1);
  // Stand-ins that write their first argument to PROGRAM.arg, and the wait for it.
  for (const std::string program : {"xdg-open", "kchmviewer"}) {
    const std::string arg = folder / program;
    writeWhole(arg, "#!/bin/sh\nprintf '%s' \"$1\" > '" + arg + ".part' && /bin/mv '" + arg +
                        ".part' '" + arg + ".arg'\n");
    std::filesystem::permissions(arg, std::filesystem::perms::owner_all);
  }
  const auto recorded = [&](const std::string& program) {
    for (int wait = 0; wait < 400 && !pathFileExists(folder / program + ".arg"); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return readWhole(folder / program + ".arg");
  };
  // Commands a shell would run, if one were involved.
  const std::string pwned = folder / "pwned";
  const std::string address =
      "https://wiki/x?a=1&b=$(/bin/touch " + pwned + ")`/bin/touch " + pwned + "`;x";
  EXPECT_GT(shellOpen(address), 32);
  EXPECT_EQ(recorded("xdg-open"), address);
  EXPECT_FALSE(pathFileExists(pwned));
  writeWhole(folder / "Road Help.chm", "");
  EXPECT_TRUE(htmlHelp(withBackslashes(folder / "Road Help.chm"), kHhHelpContext, 20));
  EXPECT_EQ(recorded("kchmviewer"), folder / "Road Help.chm");
  EXPECT_FALSE(htmlHelp(withBackslashes(folder / "Missing.chm"), kHhDisplayToc, 0));
  ::setenv("PATH", (folder / "empty").c_str(), 1);
  EXPECT_EQ(shellOpen(address), 2) << "no xdg-open: file not found";
}

} // namespace
} // namespace tsen::platform::testing
