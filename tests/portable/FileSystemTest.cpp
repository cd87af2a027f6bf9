// Files and folders through the platform interface, on real files.
#include "TestFiles.h"
#include "platform/Platform.h"
#include "platform/portable/PathConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace tsen::platform::testing {
namespace {

using portable::withBackslashes;

std::size_t openDescriptors() {
  const std::filesystem::directory_iterator entries("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(PortableFileSystem, SearchPathFillsTheBufferOnlyWhenThePathFits) {
  const ScratchFolder folder;
  writeWhole(folder / "Road.RC.NOR.DLL", "");
  writeWhole(folder / "plain.xxx", "");
  const std::string windowsFolder = withBackslashes(folder.path());
  const std::string expected = windowsFolder + "\\Road.RC.NOR.DLL";
  const auto length = static_cast<std::uint32_t>(expected.size());

  std::string buffer(length, '#');
  EXPECT_EQ(searchPath(windowsFolder.c_str(), "Road.RC.NOR.DLL", ".xxx", length, buffer.data()),
            length + 1);
  EXPECT_EQ(buffer, std::string(length, '#'));

  buffer.assign(length + 1, '#');
  ASSERT_EQ(searchPath(windowsFolder.c_str(), "Road.RC.NOR.DLL", ".xxx", length + 1, buffer.data()),
            length);
  EXPECT_EQ(buffer, expected + '\0');

  char path[4096];
  EXPECT_EQ(searchPath(windowsFolder.c_str(), "Road.RC.Eng.DLL", ".xxx", sizeof path, path), 0u);
  EXPECT_EQ(searchPath(windowsFolder.c_str(), "road.rc.nor.dll", ".xxx", sizeof path, path), 0u)
      << "the host's file names are case-sensitive";
  EXPECT_GT(searchPath(windowsFolder.c_str(), "plain", ".xxx", sizeof path, path), 0u)
      << "a name without extension gets the default one";
  EXPECT_EQ(searchPath(windowsFolder.c_str(), "Road.RC", ".NOR.DLL", sizeof path, path), 0u)
      << "a name with an extension keeps it";
}

TEST(PortableFileSystem, ListingMatchesLikeFindFirstFileAndCloses) {
  const ScratchFolder folder;
  for (const char* file : {"a.cfg", "B.CFG", "c.cfgx", "d.txt", "cfg", ".cfg"}) {
    writeWhole(folder / file, "");
  }
  std::filesystem::create_directory(folder / "x.Cfg");
  const std::size_t descriptorsBefore = openDescriptors();

  std::set<std::string> names;
  {
    std::string name;
    const UniqueListing listing = openListing(withBackslashes(folder / "*.cfg"), name);
    ASSERT_NE(listing, nullptr);
    do {
      EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
    } while (nextInListing(*listing, name));
    EXPECT_GT(openDescriptors(), descriptorsBefore);
  }
  EXPECT_EQ(openDescriptors(), descriptorsBefore);
  EXPECT_EQ(names, (std::set<std::string>{"a.cfg", "B.CFG", ".cfg", "x.Cfg"}));

  std::string name;
  EXPECT_NE(openListing(withBackslashes(folder / "?.TXT"), name), nullptr);
  EXPECT_EQ(name, "d.txt");
  EXPECT_EQ(openListing(withBackslashes(folder / "*.none"), name), nullptr);
  EXPECT_EQ(openListing(withBackslashes(folder / "missing\\*.cfg"), name), nullptr);
  EXPECT_EQ(openDescriptors(), descriptorsBefore);
}

TEST(PortableFileSystem, AppendedLinesFromManyProcessesLandWholeAndInOrder) {
  constexpr int kProcesses = 4;
  constexpr int kLines = 1000;
  const ScratchFolder folder;
  const std::string log = withBackslashes(folder / "command.log");
  const auto line = [](int process, int i) {
    return concat(
        "process ", std::to_string(process), " line ", std::to_string(i), " ",
        std::string(static_cast<std::size_t>(40 + i % 60), static_cast<char>('a' + process)), "\n");
  };
  ASSERT_TRUE(inChildProcesses(kProcesses, [&](int process) {
    for (int i = 0; i < kLines; ++i) {
      if (!appendToFile(log, line(process, i))) {
        return false;
      }
    }
    return true;
  }));

  int next[kProcesses] = {};
  for (const std::string& written : linesOf(readWhole(folder / "command.log"))) {
    int process = -1;
    ASSERT_EQ(std::sscanf(written.c_str(), "process %d", &process), 1) << written;
    ASSERT_TRUE(process >= 0 && process < kProcesses) << written;
    ASSERT_EQ(written + '\n', line(process, next[process])) << "whole and in order";
    ++next[process];
  }
  EXPECT_TRUE(std::ranges::all_of(next, [](int count) { return count == kLines; }));
  EXPECT_FALSE(appendToFile(withBackslashes(folder / "missing\\command.log"), "x\n"))
      << "the folder is never created";
}

TEST(PortableFileSystem, FoldersAreCreatedWithTheirParentsAndFilesOpenOnlyAsFiles) {
  const ScratchFolder folder;
  const std::string nested = withBackslashes(folder / "a/b/c") + '\\';
  EXPECT_TRUE(createFolders(nested));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));
  EXPECT_FALSE(createFolders(nested)) << "an existing folder is not created again";
  EXPECT_TRUE(pathFileExists(nested));
  EXPECT_TRUE(canRead(nested));
  EXPECT_EQ(openFile(nested, "r"), nullptr);

  writeWhole(folder / "a/b/c/file.txt", "text");
  const UniqueFile file = openFile(withBackslashes(folder / "a/b/c/file.txt"), "r");
  ASSERT_NE(file, nullptr);
  char read[8] = {};
  EXPECT_NE(std::fgets(read, sizeof read, file.get()), nullptr);
  EXPECT_STREQ(read, "text");
}

} // namespace
} // namespace tsen::platform::testing
