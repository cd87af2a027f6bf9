// The resource library of the current language, else English, found in the
// installed suite's Resources folder and nowhere else.
#include "InstalledSuite.h"
#include "Layouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace tsen::testing;

struct ResourceCase {
  const char* name;
  std::vector<std::string> installed;
  // Below the application folder; empty for none.
  std::string found;
};

class ResourceLibraryTest : public ::testing::TestWithParam<ResourceCase> {
protected:
  ProductKeysGuard guard;
};

TEST_P(ResourceLibraryTest, SearchesTheResourcesFolderOnly) {
  const ResourceCase& c = GetParam();
  ASSERT_TRUE(setKernelValue(kLayout1840, "Language", "NOR"));
  const ScratchFolder scratch;
  const InstalledSuite suite(scratch, "Binaries");
  for (const std::string& file : c.installed) {
    suite.addFile(file);
  }
  const std::string expected = c.found.empty() ? "" : suite.appFolder() + "\\" + c.found;
  EXPECT_EQ(suite.answer("resource=Road"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, ResourceLibraryTest,
    ::testing::Values(ResourceCase{"LanguageFirst",
                                   {"Resources\\Road.RC.NOR.DLL", "Resources\\Road.RC.Eng.DLL"},
                                   "Resources\\Road.RC.NOR.DLL"},
                      ResourceCase{"EnglishFallback",
                                   {"Resources\\Road.RC.Eng.DLL", "Resources\\Other.RC.NOR.DLL"},
                                   "Resources\\Road.RC.Eng.DLL"},
                      ResourceCase{"NotBesideTheLibraryNorInTheApplicationFolder",
                                   {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL",
                                    "Binaries\\Road.RC.NOR.DLL", "Binaries\\Road.RC.Eng.DLL"},
                                   ""},
                      ResourceCase{"NotBelowResources", {"Resources\\NOR\\Road.RC.NOR.DLL"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResourceLibraryOutsideBinariesTest, NothingIsFound) {
  const ScratchFolder scratch;
  const InstalledSuite suite(scratch, "Bin");
  suite.addFile("Resources\\Road.RC.Eng.DLL");
  EXPECT_EQ(suite.answer("resource=Road"), "");
}

} // namespace
