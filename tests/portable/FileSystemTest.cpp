// Files, folders and listings through the platform interface, on real files.
// (Appending from several processes is tested through the command log.)
#include "TestFiles.h"
#include "platform/portable/PathConversion.h"

#include <set>

namespace tsen::platform::testing {
namespace {

using portable::withBackslashes;

TEST(PortableFileSystem, SearchPathFillsTheBufferOnlyWhenThePathFits) {
  const ScratchFolder folder;
  writeWhole(folder / "Road.RC.NOR.DLL", "");
  writeWhole(folder / "plain.xxx", "");
  const std::string windowsFolder = withBackslashes(folder.path());
  const std::string expected = windowsFolder + "\\Road.RC.NOR.DLL";
  const auto length = static_cast<std::uint32_t>(expected.size());
  const auto search = [&](const char* name, const char* extension, std::string& buffer) {
    return searchPath(windowsFolder.c_str(), name, extension,
                      static_cast<std::uint32_t>(buffer.size()), buffer.data());
  };
  std::string buffer(length, '#');
  EXPECT_EQ(search("Road.RC.NOR.DLL", ".xxx", buffer), length + 1);
  EXPECT_EQ(buffer, std::string(length, '#'));
  buffer.assign(length + 1, '#');
  ASSERT_EQ(search("Road.RC.NOR.DLL", ".xxx", buffer), length);
  EXPECT_EQ(buffer, expected + '\0');

  buffer.assign(4096, '#');
  EXPECT_EQ(search("Road.RC.Eng.DLL", ".xxx", buffer), 0u);
  EXPECT_EQ(search("road.rc.nor.dll", ".xxx", buffer), 0u) << "host names are case-sensitive";
  EXPECT_GT(search("plain", ".xxx", buffer), 0u) << "a name without extension gets the default";
  EXPECT_EQ(search("Road.RC", ".NOR.DLL", buffer), 0u) << "a name with an extension keeps it";
}

TEST(PortableFileSystem, ListingMatchesLikeFindFirstFile) {
  const ScratchFolder folder;
  for (const char* file : {"a.cfg", "B.CFG", "c.cfgx", "d.txt", "cfg", ".cfg"}) {
    writeWhole(folder / file, "");
  }
  std::filesystem::create_directory(folder / "x.Cfg");
  std::set<std::string> names;
  std::string name;
  const UniqueListing listing = openListing(withBackslashes(folder / "*.cfg"), name);
  ASSERT_NE(listing, nullptr);
  do {
    EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
  } while (nextInListing(*listing, name));
  EXPECT_EQ(names, (std::set<std::string>{"a.cfg", "B.CFG", ".cfg", "x.Cfg"}));

  EXPECT_NE(openListing(withBackslashes(folder / "?.TXT"), name), nullptr);
  EXPECT_EQ(name, "d.txt");
  EXPECT_EQ(openListing(withBackslashes(folder / "*.none"), name), nullptr);
  EXPECT_EQ(openListing(withBackslashes(folder / "missing\\*.cfg"), name), nullptr);
}

TEST(PortableFileSystem, FoldersAreCreatedWithTheirParentsAndFilesOpenOnlyAsFiles) {
  const ScratchFolder folder;
  const std::string nested = withBackslashes(folder / "a/b/c") + '\\';
  EXPECT_TRUE(createFolders(nested));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));
  EXPECT_FALSE(createFolders(nested)) << "an existing folder is not created again";
  EXPECT_TRUE(pathFileExists(nested) && canRead(nested));
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
