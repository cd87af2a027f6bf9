// The platform services on the host's real files, environment and programs.
#include "TestFiles.h"

#include <chrono>
#include <future>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>

namespace tsen::platform::testing {
namespace {

TEST(PortableFileSystem, ListingMatchesLikeFindFirstFile) {
  const ScratchFolder folder;
  for (const char* file : {"a.cfg", "B.CFG", "c.cfgx", "d.txt", ".cfg", "x.Cfg/inside"}) {
    folder.write(file, "");
  }
  std::multiset<std::string> names;
  std::string name;
  const UniqueListing listing = openListing(folder.library("*.cfg"), name);
  for (bool more = listing != nullptr; more; more = nextInListing(*listing, name)) {
    names.insert(name);
  }
  EXPECT_EQ(names, (std::multiset<std::string>{".cfg", "B.CFG", "a.cfg", "x.Cfg"}));
  EXPECT_EQ(openListing(folder.library("*.none"), name), nullptr);
  EXPECT_EQ(openListing(folder.library("missing\\*.cfg"), name), nullptr);
}

TEST(PortableFileSystem, AppendsWaitForTheLockAndNeverCreateTheFolder) {
  const ScratchFolder folder;
  EXPECT_FALSE(appendToFile(folder.library("missing/log.txt"), "x\n"));
  const std::string log = folder / "log.txt";
  ASSERT_TRUE(appendToFile(folder.library("log.txt"), "first\n"));
  const int other = ::open(log.c_str(), O_WRONLY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  auto appended =
      std::async(std::launch::async, appendToFile, folder.library("log.txt"), "second\n");
  EXPECT_EQ(appended.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  ::close(other);
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

TEST(PortableSystemServices, AddressesReachTheOpenerUnchangedAndNeverAShell) {
  const ScratchFolder folder;
  ::setenv("PATH", folder.path().c_str(), 1);
  // A stand-in opener that writes its first argument to xdg-open.arg.
  const std::string opener = folder / "xdg-open";
  folder.write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + opener + ".part' && /bin/mv '" +
                               opener + ".part' '" + opener + ".arg'\n");
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  // Commands a shell would run, if one were involved.
  const std::string pwned = folder / "pwned";
  const std::string address =
      "https://wiki/x?a=1&b=$(/bin/touch " + pwned + ")`/bin/touch " + pwned + "`;x";
  EXPECT_GT(shellOpen(address), 32);
  for (int wait = 0; wait < 400 && !pathFileExists(opener + ".arg"); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(readWhole(opener + ".arg"), address);
  EXPECT_FALSE(pathFileExists(pwned));
  ::setenv("PATH", (folder / "empty").c_str(), 1);
  EXPECT_EQ(shellOpen(address), 2) << "no opener: file not found";
}

} // namespace
} // namespace tsen::platform::testing
