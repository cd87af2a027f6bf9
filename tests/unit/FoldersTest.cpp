// The folders, their caches filled by many first calls at once, TsEnFileExist,
// and the version from the About file.
#include "FakeSystemTest.h"

#include <array>
#include <latch>
#include <thread>

namespace tsen::testing {
namespace {

using Row = std::pair<std::string, std::string>; // given, answered

class AppPathTest : public FakeSystemTest, public ::testing::WithParamInterface<Row> {};

TEST_P(AppPathTest, FoundOnceOrAskedAgain) {
  const auto& [moduleFile, appPath] = GetParam();
  fake::setModuleFileName(moduleFile);
  EXPECT_EQ(TsEnGetAppPath(), appPath);
  installLibraryIn("E:\\Moved");
  EXPECT_EQ(TsEnGetAppPath(), appPath.empty() ? "E:\\Moved" : appPath);
}

INSTANTIATE_TEST_SUITE_P(ModuleFiles, AppPathTest,
                         ::testing::Values(Row{"d:\\My Suite\\biNaRies\\x.dll", "d:\\My Suite"},
                                           Row{"D:\\Suite\\\\Binaries\\x.dll", "D:\\Suite"},
                                           Row{"D:\\Suite\\MyBinaries\\x.dll", ""},
                                           Row{"D:\\Binaries\\Suite\\x.dll", ""}));

TEST_F(FakeSystemTest, FileExistTellsAMissingPathOnlyWhenAsked) {
  app.write("Folder/file.txt", "x");
  const std::string missing = app.library("No Such \"Folder\"\\file.txt");
  EXPECT_EQ(std::tuple(TsEnFileExist(app.library("Folder\\"), true),
                       TsEnFileExist(app.library("Folder\\file.txt"), true),
                       TsEnFileExist("", true), TsEnFileExist(missing, false)),
            std::tuple(true, true, false, false));
  EXPECT_TRUE(fake::messageBoxes().empty());
  EXPECT_FALSE(TsEnFileExist(missing, true));
  const auto shown = fake::messageBoxes().at(0);
  EXPECT_EQ(shown.caption + std::to_string(shown.style) + shown.text,
            "Tessaline48Unable to find the file \"" + missing + "\" !");
}

// The language's file in <app>\Resources, else the English one; nowhere else.
TEST_F(FakeSystemTest, ResourceNameIsTheLanguagesElseTheEnglishFileInResources) {
  fake::setString(kHKCU, kKernel1840, "Language", "NOR");
  for (const char* elsewhere : {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL", "Binaries/Road.RC.NOR.DLL",
                                "Resources/NOR/Road.RC.NOR.DLL"}) {
    app.write(elsewhere, "resources");
  }
  EXPECT_EQ(TsEnGetResourceName("Road"), "");
  for (const char* file : {"Road.RC.Eng.DLL", "Road.RC.NOR.DLL"}) {
    app.write("Resources/" + std::string(file), "resources");
    EXPECT_EQ(TsEnGetResourceName("Road"), app.library("Resources\\" + std::string(file)));
  }
}

// Below the layout's folder and the configuration (18.40 under Wine), every trailing
// backslash of the roaming folder dropped; empty without either.
TEST_F(FakeSystemTest, UserDataNeedsARoamingFolderAndAConfiguration) {
  setConfig(true, "Road");
  EXPECT_EQ(TsEnGetUserDataPath(), "") << "the shell call fails";
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, "C:\\Roaming\\\\");
  setConfig(true, "");
  EXPECT_EQ(TsEnGetUserDataPath(), "") << "no configuration";
  setConfig(true, "Rail Works");
  EXPECT_EQ(TsEnGetUserDataPath(), "C:\\Roaming\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Rail Works");
}

// The temporary folder loses one trailing backslash; the AppData-style folder
// below it is made, and empty without a configuration.
TEST_F(FakeSystemTest, TempFolderLosesOneBackslashItsAppDataStyleFolderAllAndIsCreated) {
  const std::string temp = app.library("missing\\tmp");
  fake::setTempFolder(temp);
  setConfig(true, "");
  EXPECT_EQ(TsEnGetTempPath() + "|" + TsEnGetTempPathAppDataStyle(), temp + "|");
  fake::setTempFolder(temp + "\\\\");
  setConfig(true, "Road");
  EXPECT_EQ(TsEnGetTempPath(), temp + "\\");
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), temp + "\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Road");
  EXPECT_TRUE(std::filesystem::is_directory(app.path() /
                                            "missing/tmp/Quarzel/Tessaline/19.01/RA_Zora/Road"));
  fake::setTempFolder(std::nullopt);
  EXPECT_EQ(TsEnGetTempPath() + TsEnGetTempPathAppDataStyle(), "");
}

// The registry value of the layout in force when present (even empty), one
// trailing backslash dropped, else the user data folder; kept once non-empty.
TEST_F(FakeSystemTest, MyTessalineIsTheValueOfTheLayoutKeptOnceNonEmpty) {
  setLayout19(true);
  fake::setString(kHKCU, kKernel1901, "My Tessaline Directory", "\\");
  fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Work\\\\");
  EXPECT_EQ(TsEnGetMyTessalinePath(), "");
  setLayout19(false);
  EXPECT_EQ(TsEnGetMyTessalinePath(), "D:\\Work\\");
  setLayout19(true);
  EXPECT_EQ(TsEnGetMyTessalinePath(), "D:\\Work\\");
}

// Under ThreadSanitizer too (scripts/test.sh runs FirstCallRace there).
using FirstCallRace = FakeSystemTest;

TEST_F(FirstCallRace, EightFirstCallersAgree) {
  installLibraryIn("D:\\Suite");
  fake::setString(kHKCU, kKernel1840, "Language", "NOR\\");
  fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Work\\");
  std::array<std::string, 8> answers;
  std::latch start(answers.size());
  {
    std::vector<std::jthread> callers;
    for (std::string& mine : answers) {
      callers.emplace_back([&start, &mine] {
        start.arrive_and_wait();
        mine = TsEnGetAppPath() + TsEnGetLanguageCode() + TsEnGetMyTessalinePath();
      });
    }
  }
  for (const std::string& answer : answers) {
    EXPECT_EQ(answer, "D:\\SuiteNORD:\\Work");
  }
}

// The About file's first line (at most 1023 characters, text mode) gives both numbers.
TEST_F(FakeSystemTest, FeaturePackAndUpdateComeFromTheAboutFilesFirstLine) {
  EXPECT_EQ(TsEnGetCurrentVersionNumberFeaturePack() + TsEnGetCurrentVersionNumberUpdate(), 0)
      << "no file";
  // The first 1023 characters of this line hold update B; the whole line none.
  const std::string longLine =
      "w " + std::string(1017, '9') + ".4.B" + std::string(3977, 'Z') + "\n";
  const struct {
    std::string content;
    int featurePack, update;
  } cases[] = {
      // clang-format off
      // Letter case and signed bytes are the fuzzer's; text mode ends a file at Ctrl-Z.
      {"Tessaline 19.01.FP2B IR\r\n", 2, 2}, {"x 1.2.SPFPC", 0, 0}, {"x 1.2.BIR.Q", 0, 2},
      {"x 18.40.A\r\n", 'A' - 48, '\n' - 64}, {"x 18.40\nx 18.40.SPC", 0, 0},
      {std::string("x 1.2.B\0\xFF\xFE\n", 11), 0, 2}, {longLine, 0, 2}, {"x 18.40.B\x1A\n", 0, 2},
      // clang-format on
  };
  for (const auto& c : cases) {
    app.write("Base/About/1_Tessaline_Version.txt", c.content);
    EXPECT_EQ(
        std::pair(TsEnGetCurrentVersionNumberFeaturePack(), TsEnGetCurrentVersionNumberUpdate()),
        std::pair(c.featurePack, c.update))
        << c.content.substr(0, 30);
  }
  EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
} // namespace tsen::testing
