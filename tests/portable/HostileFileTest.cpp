// Registry files a careless or hostile user may leave: nesting deeper than
// any stack, paths that are no plain file, links, writers killed half-way,
// and UTF-16 that is not well formed.
#include "TestFiles.h"

#include <csignal>

#include <sys/stat.h>

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;

TEST_F(PortableRegistryTest, KeysNestedDeeperThanAnyStackAreReadWrittenAndFreed) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kDepth = 100'000;
#else
  constexpr int kDepth = 180'000;
#endif
  std::string path = "a";
  for (int level = 1; level < kDepth; ++level) {
    path += "\\a";
  }
  useRegistryFile("deep.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + path + "]\n\"Deep\"=\"yes\"\n");
  HKEY deep = nullptr;
  ASSERT_TRUE(regOpenKey(kCurrentUser, path.c_str(), deep));
  EXPECT_EQ(queryValue(deep, "Deep"), (RegistryValue{kRegSz, "yes\0"s}));
  // A write parses the file again and frees what it parsed; the parse kept
  // for reads is freed when another file is used.
  EXPECT_TRUE(setValue(createKey("a"), "Shallow", kRegSz, "x\0"s));
  useRegistryFile("other.reg");
  EXPECT_FALSE(regOpenKey(kCurrentUser, "a", deep));
}

TEST_F(PortableRegistryTest, AFifoOrAnUnreadableFileFailsAtOnceAndIsLeftAlone) {
  ::alarm(20); // ends the test program should it hang
  for (const char* name : {"fifo", "unreadable"}) {
    const bool fifo = name == "fifo"s;
    if (!fifo && ::geteuid() == 0) {
      continue; // the superuser reads every file
    }
    const char* text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n";
    useRegistryFile(name, fifo ? std::nullopt : std::optional(text));
    const char* path = registryPath_.c_str();
    ASSERT_EQ(fifo ? ::mkfifo(path, 0600) : ::chmod(path, 0200), 0);
    struct stat before {};
    ASSERT_EQ(::lstat(path, &before), 0);
    HKEY key = nullptr;
    EXPECT_FALSE(regOpenKey(kCurrentUser, "Software", key)) << name;
    EXPECT_FALSE(regCreateKey(kCurrentUser, "Software\\New", key)) << name;
    struct stat after {};
    ASSERT_EQ(::lstat(path, &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << name << " must not be replaced";
    EXPECT_EQ(after.st_mode, before.st_mode) << name;
  }
  ::alarm(0);
}

// The write goes to the link's target, whose folder a writer killed before
// its rename has left its temporary file in.
TEST_F(PortableRegistryTest, AWriteKeepsADanglingLinkAndRemovesTheFilesOfKilledWriters) {
  useRegistryFile("link.reg");
  ASSERT_EQ(::symlink("settings/real.reg", registryPath_.c_str()), 0);
  ASSERT_FALSE(inChildProcesses(1, [&](int) {
    folder_.write("settings/real.reg." + std::to_string(::getpid()) + ".tmp", "left");
    return ::raise(SIGKILL) == 0;
  }));
  folder_.write("settings/real.reg.backup.tmp", "the user's own");
  ASSERT_TRUE(setValue(createKey("Software\\Linked"), "Name", kRegSz, "value\0"s));
  struct stat status {};
  ASSERT_EQ(::lstat(registryPath_.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_NE(readWhole(folder_ / "settings/real.reg").find("\"Name\"=\"value\""), std::string::npos);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path() / "settings")) {
    names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  EXPECT_EQ(names, (std::vector<std::string>{"real.reg", "real.reg.backup.tmp", "real.reg.lock"}));
}

TEST_F(PortableRegistryTest, UtfSixteenThatIsNotWellFormedComesBackByteForByte) {
  const std::string lone = "\x00\xD8"s; // a high surrogate alone
  const std::string head = "\xFF\xFE"s + utf16("Windows Registry Editor Version 5.00\r\n\r\n") +
                           utf16("[HKEY_CURRENT_USER\\Software\\S]\r\n\"Odd\"=\"") + lone +
                           utf16("\"\r\n;") + lone + utf16("\r\n");
  const std::string tail = utf16("\r\n[HKEY_CURRENT_USER\\Other]\r\n;") + lone + "\x01"s;
  useRegistryFile("lone.reg", head + utf16("\"Name\"=\"old\"\r\n") + tail);
  ASSERT_TRUE(setValue(createKey("Software\\S"), "Name", kRegSz, "new\0"s));
  EXPECT_EQ(readWhole(registryPath_), head + utf16("\"Name\"=\"new\"\r\n") + tail);
}

} // namespace
} // namespace tsen::platform::testing
