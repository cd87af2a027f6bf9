// The version number of the layout; feature pack and update from the About file.
#include "support/FakeSystemTest.h"
#include "version/AboutLine.h"

namespace tsen::testing {
namespace {

TEST(AboutLineTest, ParsesTheThirdComponentOfTheVersion) {
  const struct {
    std::string line;
    int featurePack;
    int update;
  } cases[] = {
      {"x 1.2.SP3C", 3, 3}, {"x 1.2.fpZ", 0, 26},  {"x 1.2.SPFPC", 0, 0},
      {"x 1.2.B IR", 0, 2}, {"x 1.2.BIR.Q", 0, 2}, {"x 1.2.\xE4", 0, -28 - 64},
  };
  for (const auto& c : cases) {
    const FeaturePackAndUpdate parsed = parseAboutLine(c.line);
    EXPECT_EQ(std::pair(parsed.featurePack, parsed.update), std::pair(c.featurePack, c.update))
        << c.line;
  }
}

TEST_F(FakeSystemTest, FeaturePackAndUpdateComeFromTheAboutFilesFirstLine) {
  ScratchFolder scratch;
  installLibraryIn(scratch.library());
  EXPECT_EQ(TsEnGetCurrentVersionNumberFeaturePack() + TsEnGetCurrentVersionNumberUpdate(), 0)
      << "no file";
  // The first 1023 characters of this line hold update B; the whole line none.
  const std::string longLine =
      "w " + std::string(1017, '9') + ".4.B" + std::string(3977, 'Z') + "\n";
  const struct {
    std::string content;
    int featurePack;
    int update;
  } cases[] = {
      {"Tessaline 19.01.FP2B IR\r\n", 2, 2},
      {"x 18.40.A\r\n", 'A' - 48, '\n' - 64},
      {"x 18.40\nx 18.40.SPC", 0, 0},
      {std::string("x 1.2.B\0\xFF\xFE\n", 11), 0, 2},
      {longLine, 0, 2},
      // Text mode ends a file at Ctrl-Z, as the About file's readers on Windows see it.
      {"x 18.40.B\x1A\n", 0, 2},
  };
  for (const auto& c : cases) {
    scratch.write("Base/About/1_Tessaline_Version.txt", c.content);
    EXPECT_EQ(
        std::pair(TsEnGetCurrentVersionNumberFeaturePack(), TsEnGetCurrentVersionNumberUpdate()),
        std::pair(c.featurePack, c.update))
        << c.content.substr(0, 30);
  }
  EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
} // namespace tsen::testing
