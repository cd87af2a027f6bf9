// The Win32 backend's files and folders: existence, shell folders, the
// temporary folder, the one-folder search and listings.
#include "platform/Platform.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>

namespace {

namespace platform = tsen::platform;
using tsen::testing::ScratchFolder;

class PlatformFilesTest : public ::testing::Test {
protected:
  ScratchFolder folder;
};

TEST_F(PlatformFilesTest, ExistenceAndReadability) {
  const std::string file = folder.addFile("present.txt");
  EXPECT_TRUE(platform::pathFileExists(file));
  EXPECT_TRUE(platform::pathFileExists(folder.path()));
  EXPECT_FALSE(platform::pathFileExists(folder.below("absent.txt")));
  EXPECT_TRUE(platform::canRead(file));
  EXPECT_FALSE(platform::canRead(folder.below("absent.txt")));
}

TEST_F(PlatformFilesTest, CreateFoldersMakesEveryMissingParent) {
  const std::string deep = folder.below("a\\b\\c");
  EXPECT_TRUE(platform::createFolders(deep));
  EXPECT_TRUE(platform::pathFileExists(deep));
  // An existing folder is the system's failure, passed on.
  EXPECT_FALSE(platform::createFolders(deep));
}

TEST_F(PlatformFilesTest, KnownFoldersExist) {
  for (const auto which :
       {platform::KnownFolder::roamingAppData, platform::KnownFolder::commonFiles}) {
    const auto found = platform::knownFolder(which);
    ASSERT_TRUE(found) << static_cast<int>(which);
    EXPECT_TRUE(platform::pathFileExists(*found)) << *found;
  }
}

TEST_F(PlatformFilesTest, LongestTempFolderComesWhole) {
  // The longest TMP the system takes (MAX_PATH - 2 characters) comes back
  // with a backslash added, filling a MAX_PATH buffer to its last byte.
  std::string longest = folder.path() + "\\";
  longest.resize(MAX_PATH - 2, 'x');
  ASSERT_TRUE(SetEnvironmentVariableA("TMP", longest.c_str()));
  EXPECT_EQ(platform::tempFolder(), longest + "\\");
}

class SearchPathTest : public PlatformFilesTest {
protected:
  void SetUp() override { found = folder.addFile("Road.RC.NOR.DLL"); }
  std::string found;
};

TEST_F(SearchPathTest, FindsTheFileInTheFolderGiven) {
  char buffer[MAX_PATH] = {};
  const auto length =
      platform::searchPath(folder.path().c_str(), "Road.RC.NOR.DLL", ".xxx", MAX_PATH, buffer);
  EXPECT_EQ(length, found.size());
  EXPECT_STRCASEEQ(buffer, found.c_str());
}

TEST_F(SearchPathTest, AppendsTheDefaultExtensionToANameWithout) {
  const std::string topics = folder.addFile("Topics.DLL");
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(platform::searchPath(folder.path().c_str(), "Topics", ".DLL", MAX_PATH, buffer),
            topics.size());
  // A name with an extension of its own is searched as written.
  EXPECT_EQ(platform::searchPath(folder.path().c_str(), "Road.RC", ".NOR.DLL", MAX_PATH, buffer),
            0u);
}

TEST_F(SearchPathTest, AnswersZeroForAMissingFile) {
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(
      platform::searchPath(folder.path().c_str(), "Road.RC.Eng.DLL", ".xxx", MAX_PATH, buffer), 0u);
}

TEST_F(SearchPathTest, LooksNowhereElse) {
  const ScratchFolder other;
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(platform::searchPath(other.path().c_str(), "Road.RC.NOR.DLL", ".xxx", MAX_PATH, buffer),
            0u);
}

TEST_F(SearchPathTest, ShortBufferAnswersTheNeededSizeAndStaysUnwritten) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  const auto needed =
      platform::searchPath(folder.path().c_str(), "Road.RC.NOR.DLL", ".xxx", sizeof buffer, buffer);
  EXPECT_GT(needed, sizeof buffer);
  EXPECT_GE(needed, found.size());
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'));
}

TEST_F(PlatformFilesTest, ListingNamesEveryMatchOnce) {
  for (const char* name : {"a.cfg", "b.cfg", "c.cfg", "d.txt"}) {
    folder.addFile(name);
  }
  std::string name;
  const platform::UniqueListing listing = platform::openListing(folder.below("*.cfg"), name);
  ASSERT_TRUE(listing);
  std::multiset<std::string> names{name};
  while (platform::nextInListing(*listing, name)) {
    names.insert(name);
  }
  EXPECT_EQ(names, (std::multiset<std::string>{"a.cfg", "b.cfg", "c.cfg"}));
}

TEST_F(PlatformFilesTest, ListingWithoutMatchIsNull) {
  std::string name = "untouched";
  EXPECT_FALSE(platform::openListing(folder.below("*.cfg"), name));
  EXPECT_FALSE(platform::openListing(folder.below("missing\\*.cfg"), name));
}

TEST_F(PlatformFilesTest, OpenFileOpensOnlyWhatExists) {
  const std::string file = folder.addFile("lines.txt", "first\nsecond\n");
  const platform::UniqueFile opened = platform::openFile(file, "r");
  ASSERT_TRUE(opened);
  char line[16] = {};
  ASSERT_TRUE(std::fgets(line, sizeof line, opened.get()));
  EXPECT_STREQ(line, "first\n");
  EXPECT_FALSE(platform::openFile(folder.below("absent.txt"), "r"));
}

} // namespace
