// The application folder as an installed copy of the library finds it: the
// library's folder must be named Binaries, in any letter case, and nothing
// else.
#include "InstalledSuite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tsen::testing::InstalledSuite;
using tsen::testing::ScratchFolder;

struct LibraryFolderCase {
  const char* name;
  const char* libraryFolder;
  bool isApplicationFolder;
};

class LibraryFolderTest : public ::testing::TestWithParam<LibraryFolderCase> {};

TEST_P(LibraryFolderTest, ParentOfBinariesIsTheApplicationFolder) {
  const LibraryFolderCase& c = GetParam();
  const ScratchFolder scratch;
  const InstalledSuite suite(scratch, c.libraryFolder);
  const std::string expected = c.isApplicationFolder ? suite.appFolder() : "";
  // Asked twice: a found folder is kept, a missing one is looked for again
  // and stays missing.
  EXPECT_EQ(suite.ask({"app", "app"}), (std::vector<std::string>{expected, expected}));
}

INSTANTIATE_TEST_SUITE_P(Folders, LibraryFolderTest,
                         ::testing::Values(LibraryFolderCase{"Binaries", "Binaries", true},
                                           LibraryFolderCase{"UpperCase", "BINARIES", true},
                                           LibraryFolderCase{"MixedCase", "biNARies", true},
                                           LibraryFolderCase{"Bin", "Bin", false},
                                           LibraryFolderCase{"Suffix", "MyBinaries", false},
                                           LibraryFolderCase{"Extension", "Binaries.old", false},
                                           LibraryFolderCase{"BelowBinaries", "Binaries\\x64",
                                                             false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
