// The portable layer on the host's real files, environment and programs, and
// registry files a careless or hostile user may leave.
#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;
using testsupport::ScratchFolder;

inline std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Each character of ASCII text as a UTF-16LE unit.
inline std::string utf16(std::string_view text) {
  std::string bytes;
  for (const char c : text) {
    bytes += std::string{c, '\0'};
  }
  return bytes;
}

class PortableRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { useRegistryFile("registry.reg"); }
  // The file name in the test's folder, with bytes written to it if given.
  void useRegistryFile(const std::string& name, std::optional<std::string> bytes = {}) {
    registryPath_ = folder_ / name;
    ::setenv("TSEN_REGISTRY", registryPath_.c_str(), 1);
    if (bytes) {
      folder_.write(name, *bytes);
    }
  }
  // Below HKEY_CURRENT_USER; the handle is left open.
  static HKEY createKey(const std::string& path) {
    HKEY key = nullptr;
    EXPECT_TRUE(regCreateKey(kCurrentUser, path.c_str(), key)) << path;
    return key;
  }
  static bool setValue(HKEY key, const std::string& name, std::uint32_t type,
                       const std::string& data) {
    return regSetValue(key, name.c_str(), type, data.data(),
                       static_cast<std::uint32_t>(data.size()));
  }
  static std::optional<RegistryValue> queryValue(HKEY key, const std::string& name) {
    std::uint32_t type = 0, size = 4096;
    std::string data(size, '\0');
    if (!regQueryValue(key, name.c_str(), &type, data.data(), size)) {
      return std::nullopt;
    }
    return RegistryValue{type, data.substr(0, size)};
  }

  ScratchFolder folder_;
  std::string registryPath_;
};

TEST_F(PortableRegistryTest, EveryValueTypeComesBackFromTheFileAsSetInBothDialects) {
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
    // Lines written, if they matter; REGEDIT4 (null: as 5) keeps 8-bit text.
    const char *version5, *regedit4;
  } cases[] = {
      {"Na\"me\\", kRegSz, "C:\\Dir \"q\"\\\0"s, R"("Na\"me\\"="C:\\Dir \"q\"\\")", nullptr},
      {"", kRegSz, "default\0"s, R"(@="default")", nullptr},
      {"Raw", kRegSz, "ab"s, R"("Raw"=hex(1):61,00,62,00)", R"("Raw"=hex(1):61,62)"},
      {"Multi", kRegMultiSz, "\xC3\xBC\0\0"s, R"("Multi"=hex(7):fc,00,00,00,00,00)",
       R"("Multi"=hex(7):c3,bc,00,00)"},
      {"Dword", kRegDword, "\x2a\0\0\0"s, R"("Dword"=dword:0000002a)", nullptr},
      {"Binary", kRegBinary, std::string(100, '\xa5'), nullptr, nullptr},
  };
  for (const bool regedit4 : {false, true}) {
    const std::string name = regedit4 ? "4.reg" : "5.reg";
    useRegistryFile(name, regedit4 ? "REGEDIT4\r\n" : "");
    const HKEY key = createKey("Software\\Types");
    for (const auto& value : cases) {
      ASSERT_TRUE(setValue(key, value.name, value.type, value.data)) << value.name;
    }
    const std::string text = readWhole(registryPath_);
    for (const auto& value : cases) {
      const char* line = regedit4 && value.regedit4 != nullptr ? value.regedit4 : value.version5;
      EXPECT_TRUE(line == nullptr || text.find(line + "\r\n"s) != std::string::npos)
          << line << regedit4;
    }
    EXPECT_NE(text.find("a5,a5,\\\r\n  a5,a5,"), std::string::npos) << "long data is wrapped";
    // A copy under another name is parsed afresh: nothing comes from memory.
    useRegistryFile("copy" + name, text);
    const HKEY reopened = createKey("Software\\Types");
    for (const auto& value : cases) {
      EXPECT_EQ(queryValue(reopened, value.name), (RegistryValue{value.type, value.data}))
          << value.name;
    }
  }
}

TEST_F(PortableRegistryTest, AHandWrittenFileReadsAsImportedAndKeepsItsLinesOnWrites) {
  std::string before =
      "Windows Registry Editor Version 5.00\r\n; by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Suite]\r\n"
      "\"Broken\"=dword:xyz\r\ngarbage\r\n"
      "\"Kept\"=hex:01,02,\\\r\n  03\r\n@=\"default\"\r\n\"Changed\"=\"old\"\r\n\r\n"
      "[HKEY_NOWHERE\\Software]\r\n\"Foreign\"=\"x\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Gone]\r\n\"Lost\"=\"y\"\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Suite]\n\"Deleted\"=\"z\"\n\"Deleted\"=-\n"
      "[unterminated";
  // Only the changed line differs; the added value ends the key's last section
  // with the file's first line ending; names keep the case they were made with.
  std::string after = before;
  after.replace(after.find("\"old\""), 5, "\"new\"");
  after.replace(after.find("=-\n"), 3, "=-\n\"Added\"=dword:00000001\r\n");
  after += "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Suite\\Child]\r\n\r\n";
  // As written by hand, and in UTF-16 as the registry editor writes.
  for (const bool wide : {false, true}) {
    const auto encoded = [wide](const std::string& text) {
      return wide ? "\xFF\xFE" + utf16(text) : text;
    };
    useRegistryFile(wide ? "16.reg" : "8.reg", encoded(before));
    const HKEY suite = createKey("SOFTWARE\\suite"); // names match in any case
    EXPECT_EQ(queryValue(suite, "kept"), (RegistryValue{kRegBinary, "\1\2\3"s}));
    ASSERT_TRUE(setValue(suite, "CHANGED", kRegSz, "new\0"s));
    ASSERT_TRUE(setValue(suite, "Added", kRegDword, "\1\0\0\0"s));
    createKey("software\\SUITE\\Child");
    EXPECT_EQ(readWhole(registryPath_), encoded(after)) << wide;
  }
}

TEST_F(PortableRegistryTest, NamesMatchWithoutRegardToCaseBeyondAscii) {
  const struct {
    const char *made, *asked;
    bool same;
  } cases[] = {
      {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xC5\x82\xC3\x93\x44\xC5\xB9", true}, // Łódź, łÓDŹ
      {"\xD0\xB6\xD1\x91", "\xD0\x96\xD0\x81", true},                         // жё, ЖЁ
      {"\xC3\xA9", "e", false},                                               // é is no e
      {"\xC3\xB7", "\xC3\x97", false}, // ÷ and × are no letters
      {"a\xFF", "A\xFF", true},        // a byte that is no text
  };
  for (const auto& names : cases) {
    createKey("Software\\"s + names.made);
    HKEY asked = nullptr;
    EXPECT_EQ(regOpenKey(kCurrentUser, ("Software\\"s + names.asked).c_str(), asked), names.same)
        << names.asked;
  }
}

TEST_F(PortableRegistryTest, TwoProcessesWritingAtOnceLoseNothingAndAreReadAfresh) {
  constexpr int kWrites = 200;
  HKEY key = nullptr;
  ASSERT_FALSE(regOpenKey(kCurrentUser, "Software\\Shared", key)); // read before they write
  pid_t children[2] = {};
  for (int process = 0; process < 2; ++process) {
    if ((children[process] = ::fork()) == 0) {
      bool written = regCreateKey(kCurrentUser, "Software\\Shared", key);
      for (int i = 0; written && i < kWrites; ++i) {
        written = setValue(key, std::to_string(process) + "." + std::to_string(i), kRegSz,
                           std::to_string(i) + '\0');
      }
      ::_exit(written ? 0 : 1);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    EXPECT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                WEXITSTATUS(status) == 0);
  }
  ASSERT_TRUE(regOpenKey(kCurrentUser, "Software\\Shared", key));
  for (int i = 0; i < 2 * kWrites; ++i) {
    EXPECT_EQ(queryValue(key, std::to_string(i % 2) + "." + std::to_string(i / 2)),
              (RegistryValue{kRegSz, std::to_string(i / 2) + '\0'}));
  }
  const std::string text = readWhole(registryPath_);
  EXPECT_EQ(text.find("Software\\Shared]"), text.rfind("Software\\Shared]")) << "made once";
}

// On a 512 KiB stack, where any recursion per level of nesting overflows.
TEST_F(PortableRegistryTest, KeysNestedDeeperThanAnyStackAreReadWrittenAndFreed) {
  std::function<void()> body = [this] {
    std::string path = "a";
    for (int level = 1; level < 100'000; ++level) {
      path += "\\a";
    }
    useRegistryFile("deep.reg",
                    "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + path + "]\n\"Deep\"=\"yes\"\n");
    HKEY deep = nullptr;
    ASSERT_TRUE(regOpenKey(kCurrentUser, path.c_str(), deep));
    EXPECT_EQ(queryValue(deep, "Deep"), (RegistryValue{kRegSz, "yes\0"s}));
    // A write parses the file again and frees what it parsed; the parse kept
    // for reads is freed when another file is used.
    EXPECT_TRUE(setValue(createKey("a"), "Shallow", kRegSz, "x\0"s));
    useRegistryFile("other.reg");
    EXPECT_FALSE(regOpenKey(kCurrentUser, "a", deep));
  };
  pthread_attr_t small;
  pthread_attr_init(&small);
  pthread_attr_setstacksize(&small, 512 * 1024);
  pthread_t thread;
  const auto run = [](void* f) -> void* {
    (*static_cast<std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &small, run, &body), 0);
  pthread_join(thread, nullptr);
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

// The write goes to the link's target, in whose folder a writer killed before
// its rename has left its temporary file.
TEST_F(PortableRegistryTest, AWriteKeepsADanglingLinkAndRemovesTheFilesOfKilledWriters) {
  useRegistryFile("link.reg");
  ASSERT_EQ(::symlink("settings/real.reg", registryPath_.c_str()), 0);
  folder_.write("settings/real.reg.2147483647.tmp", std::string(1 << 20, 'x'));
  folder_.write("settings/real.reg.backup.tmp", "the user's own");
  ASSERT_TRUE(setValue(createKey("Software\\Linked"), "Name", kRegSz, "value\0"s));
  struct stat status {};
  ASSERT_EQ(::lstat(registryPath_.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_NE(readWhole(folder_ / "settings/real.reg").find("\"Name\"=\"value\""), std::string::npos);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path() / "settings")) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"real.reg", "real.reg.backup.tmp", "real.reg.lock"}));
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

TEST(PortableFileSystem, ListingMatchesLikeFindFirstFileAndAppendsWaitForTheLock) {
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
TEST(PortableSystemServices, FoldersComeFromTheEnvironmentAndAddressesReachTheOpenerAlone) {
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
