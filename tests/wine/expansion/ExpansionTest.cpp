// File names expanded end to end against the real system: an installed
// copy of the library for the application folder's tokens, this process for
// the user's folders and the configuration fallback.
#include "TsEnvironment.h"

#include "tests/wine/folders/InstalledSuite.h"
#include "tests/wine/folders/Layouts.h"
#include "tests/wine/folders/ShellFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tsen::testing;

class ExpansionTest : public ::testing::Test {
protected:
  ProductKeysGuard guard;
  const std::string config = nameOfThisTest("Cfg");
};

TEST_F(ExpansionTest, ApplicationTokensNameTheInstalledSuite) {
  ASSERT_TRUE(setKernelValue(kLayout1840, "Language", "NOR"));
  const ScratchFolder scratch;
  const InstalledSuite suite(scratch, "Binaries");
  const std::string& app = suite.appFolder();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<APPATH>\\Help\\<LANGCODE>\\x.chm", app + "\\Help\\NOR\\x.chm"},
      {"<AppPath>\\Help\\<LangName>-<LANGCOUNTRY>.txt", app + "\\Help\\Norwegian-Norway.txt"},
      {"<binaries>\\x.dll", app + "\\Binaries\\x.dll"},
      {"<RESOURCES>\\Road.RC.<LANGCODE>.DLL", app + "\\Resources\\Road.RC.NOR.DLL"},
      {"<AUTOCAD>\\<APPATH>\\<appath>", app + "\\AutoCAD\\" + app + "\\<appath>"},
  };
  std::vector<std::string> questions;
  std::vector<std::string> expected;
  for (const auto& [name, answer] : cases) {
    questions.push_back("expand=" + name);
    expected.push_back(answer);
  }
  EXPECT_EQ(suite.ask(questions), expected);
}

TEST_F(ExpansionTest, UserAndSharedTokensNameTheSystemsFolders) {
  ASSERT_TRUE(setKernelValue(kLayout1840, "Current Config", config));
  const std::string roaming = shellFolder(CSIDL_APPDATA);
  const std::string common = shellFolder(CSIDL_PROGRAM_FILES_COMMON);
  const std::string temp = tempFolderTrimmed();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<USERDATA>\\a.txt", configurationFolder(roaming, kLayout1840, config) + "\\a.txt"},
      {"<TEMP>\\<CURRENTCONFIG>.tmp", temp + "\\" + config + ".tmp"},
      {"<QUARZELSHARED>\\b", common + "\\Quarzel Shared\\b"},
      {"<TessalineShared>\\c", common + "\\Quarzel Shared\\Tessaline\\c"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(TsEnBuildFilename(name, TsEnBaseNone, 0), expected) << name;
  }
  EXPECT_EQ(TsEnBuildFilename("a.txt", TsEnBaseUserData, 0),
            configurationFolder(roaming, kLayout1840, config) + "\\a.txt");
  EXPECT_EQ(TsEnBuildFilename("x.tmp", TsEnBaseTemp, 0), temp + "\\x.tmp");

  ASSERT_TRUE(select(kLayout1901));
  ASSERT_TRUE(setKernelValue(kLayout1901, "Current Config", config));
  EXPECT_EQ(TsEnBuildFilename("<userdata>", TsEnBaseNone, 0),
            configurationFolder(roaming, kLayout1901, config));
}

struct FallbackCase {
  const char* name;
  std::vector<std::string> present;
  const char* chosen;
};

class DefaultConfigTest : public ExpansionTest,
                          public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(DefaultConfigTest, ExistingFileOrFolderDecides) {
  const FallbackCase& c = GetParam();
  ASSERT_TRUE(setKernelValue(kLayout1840, "Current Config", "Road"));
  const ScratchFolder scratch;
  for (const std::string& entry : c.present) {
    std::filesystem::create_directories(scratch.below(entry));
  }
  EXPECT_EQ(TsEnBuildFilename(scratch.path() + "\\<DEFAULTCONFIG>\\a.cfg", TsEnBaseNone, 0),
            scratch.below(c.chosen) + "\\a.cfg");
}

INSTANTIATE_TEST_SUITE_P(
    Variants, DefaultConfigTest,
    ::testing::Values(FallbackCase{"CurrentFile", {"Road\\a.cfg", "Default\\a.cfg"}, "Road"},
                      FallbackCase{"DefaultFile", {"Road", "Default\\a.cfg"}, "Default"},
                      FallbackCase{"DefaultFolder", {"Default\\a.cfg\\sub"}, "Default"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
