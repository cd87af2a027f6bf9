// The feature pack and update read from an installed About file as Windows'
// text mode hands its first line out: CR LF read as one line feed, Ctrl-Z
// ending the file.
#include "tests/wine/folders/InstalledSuite.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tsen::testing;

struct AboutCase {
  const char* name;
  // No About file at all when absent.
  std::optional<std::string> content;
  int featurePack;
  int update;
};

class AboutFileTest : public ::testing::TestWithParam<AboutCase> {};

TEST_P(AboutFileTest, FirstLineGivesFeaturePackAndUpdate) {
  const AboutCase& c = GetParam();
  const ScratchFolder scratch;
  const InstalledSuite suite(scratch, "Binaries");
  if (c.content) {
    suite.addFile("Base\\About\\1_Tessaline_Version.txt", *c.content);
  }
  EXPECT_EQ(suite.ask({"featurepack", "update"}),
            (std::vector<std::string>{std::to_string(c.featurePack), std::to_string(c.update)}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AboutFileTest,
    ::testing::Values(
        AboutCase{"FeaturePackAndUpdate", "Tessaline 19.01.FP2B IR\r\n", 2, 2},
        AboutCase{"LowerCase", "tessaline 19.01.fp2b ir\r\nTessaline 18.40.SPC\r\n", 2, 2},
        AboutCase{"UpdateWithoutLineEnd", "Tessaline 18.40.SPC", 0, 3},
        AboutCase{"TwoCharactersWithoutLineEnd", "Tessaline 18.40.1A", 1, 1},
        // The line feed left of CR LF counts as a third character.
        AboutCase{"LineEndCounts", "Tessaline 18.40.1A\r\n", 0, 0},
        AboutCase{"CtrlZEndsTheFile", std::string("Tessaline 18.40.1A\x1A\r\nx", 22), 1, 1},
        AboutCase{"SecondLineNeverRead", "Tessaline 18.40\r\nTessaline 18.40.1A", 0, 0},
        AboutCase{"EmptyFile", "", 0, 0}, AboutCase{"NoFile", std::nullopt, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
