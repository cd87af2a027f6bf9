// Registry files a careless or hostile user may leave: nesting deeper than
// any stack, paths that are no plain file, links, writers killed half-way,
// and UTF-16 that is not well formed.
#include "TestFiles.h"

#include <csignal>

#include <sys/stat.h>

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;

// Raises SIGALRM, which ends the test program, if a test hangs.
struct HangGuard {
  HangGuard() { ::alarm(20); }
  ~HangGuard() { ::alarm(0); }
};

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
  writeWhole(registryPath_, "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + path + "]\n\"Deep\"=\"yes\"\n");
  HKEY deep = nullptr;
  ASSERT_TRUE(regOpenKey(kCurrentUser, path.c_str(), deep));
  EXPECT_EQ(queryValue(deep, "Deep"), (RegistryValue{kRegSz, "yes\0"s}));
  // A write parses the file again and frees what it parsed.
  EXPECT_TRUE(setValue(createKey("a"), "Shallow", kRegSz, "x\0"s));
  // The parsed file kept for reads is freed when another file is used.
  useRegistryFile(folder_ / "other.reg");
  EXPECT_FALSE(regOpenKey(kCurrentUser, "a", deep));
}

TEST_F(PortableRegistryTest, APathThatIsNoPlainFileFailsAtOnceAndIsLeftAlone) {
  const HangGuard guard;
  const struct {
    const char* name;
    bool (*make)(const std::string& path);
    bool needsNonRoot;
  } cases[] = {
      {"fifo", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }, false},
      {"folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0700) == 0; }, false},
      {"unreadable",
       [](const std::string& p) {
         writeWhole(p, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n");
         return ::chmod(p.c_str(), 0200) == 0;
       },
       true},
  };
  for (const auto& c : cases) {
    if (c.needsNonRoot && ::geteuid() == 0) {
      continue; // the superuser reads every file
    }
    useRegistryFile(folder_ / c.name);
    ASSERT_TRUE(c.make(registryPath_)) << c.name;
    struct stat before {};
    ASSERT_EQ(::lstat(registryPath_.c_str(), &before), 0);
    HKEY key = nullptr;
    EXPECT_FALSE(regOpenKey(kCurrentUser, "Software", key)) << c.name;
    EXPECT_FALSE(regCreateKey(kCurrentUser, "Software\\New", key)) << c.name;
    struct stat after {};
    ASSERT_EQ(::lstat(registryPath_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << c.name << " must not be replaced";
    EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
  }
}

TEST_F(PortableRegistryTest, AWriteThroughADanglingLinkCreatesItsTargetAndKeepsTheLink) {
  const std::string link = folder_ / "link.reg";
  ASSERT_EQ(::symlink("settings/real.reg", link.c_str()), 0);
  useRegistryFile(link);
  ASSERT_TRUE(setValue(createKey("Software\\Linked"), "Name", kRegSz, "value\0"s));
  struct stat status {};
  ASSERT_EQ(::lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_NE(readWhole(folder_ / "settings/real.reg").find("\"Name\"=\"value\""), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "settings/real.reg.lock"));
}

TEST_F(PortableRegistryTest, AWriterRemovesTheTemporaryFilesOfWritersKilledHalfWay) {
  // A writer killed before its rename leaves its temporary file; one that
  // dies at once leaves nothing else to wait for.
  ASSERT_FALSE(inChildProcesses(1, [&](int) {
    const std::string temporary = registryPath_ + "." + std::to_string(::getpid()) + ".tmp";
    writeWhole(temporary, std::string(1 << 20, 'x'));
    ::raise(SIGKILL);
    return true;
  }));
  const std::string unrelated = registryPath_ + ".backup.tmp";
  writeWhole(unrelated, "the user's own");
  ASSERT_TRUE(setValue(createKey("Software"), "Name", kRegSz, "value\0"s));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.backup.tmp",
                                             "registry.reg.lock"}));
}

TEST_F(PortableRegistryTest, UtfSixteenThatIsNotWellFormedComesBackByteForByte) {
  const std::string lone[] = {
      "\x00\xD8"s,         // a high surrogate alone
      "\x41\xDC"s,         // a low surrogate alone
      "\xFF\xDC"s,         // a low surrogate that looks like an escaped byte
      "\x00\xDC\x00\xD8"s, // a pair in the wrong order
  };
  for (const std::string& units : lone) {
    useRegistryFile(folder_ / ("lone" + std::to_string(&units - lone) + ".reg"));
    const std::string head = "\xFF\xFE"s + utf16("Windows Registry Editor Version 5.00\r\n\r\n") +
                             utf16("[HKEY_CURRENT_USER\\Software\\S]\r\n\"Odd\"=\"") + units +
                             utf16("\"\r\n;") + units + utf16("\r\n");
    const std::string tail = utf16("\r\n[HKEY_CURRENT_USER\\Other]\r\n;") + units + "\x01"s;
    writeWhole(registryPath_, head + utf16("\"Name\"=\"old\"\r\n") + tail);
    ASSERT_TRUE(setValue(createKey("Software\\S"), "Name", kRegSz, "new\0"s));
    EXPECT_EQ(fileText(), head + utf16("\"Name\"=\"new\"\r\n") + tail);
  }
}

} // namespace
} // namespace tsen::platform::testing
