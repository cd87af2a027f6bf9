#include "version/AboutLine.h"

#include <gtest/gtest.h>

#include <string>

namespace tsen {
namespace {

TEST(AboutLineTest, ParsesTheThirdComponentOfTheVersion) {
  const struct {
    std::string line;
    int featurePack;
    int update;
  } cases[] = {
      {"x 1.2.B", 0, 2},
      {"x 1.2.SP3C", 3, 3},
      {"x 1.2.fpZ", 0, 26},
      // One prefix only is dropped.
      {"x 1.2.SPFPC", 0, 0},
      {"x 1.2.FP", 0, 0},
      {"x 1.2.ABC", 0, 0},
      {"x 1.2.3.B", 0, 0},
      {"x 1..B", 0, 2},
      {"x 1.2..", 0, '.' - 64},
      // The release mark cuts the text, with a dot or blank in front of it.
      {"x 1.2.B.IR", 0, 2},
      {"x 1.2.B IR", 0, 2},
      {"x 1.2.BIR.Q", 0, 2},
      {"x 1.2.IRB", 0, 0},
      // The line feed counts as a character of the component.
      {"x 1.2.A\n", 'A' - 48, '\n' - 64},
      {"x 1.2.BB", 'B' - 48, 2},
      {"x 1.2.11", 1, -15},
      {"x 1.2.1", 0, -15},
      // Bytes count signed; they are not upper-cased beyond ASCII.
      {"x 1.2.\xC4", 0, -60 - 64},
      {"x 1.2.\xE4", 0, -28 - 64},
      {"x 1.2.\xFF\xFF", -1 - 48, -1 - 64},
      {" 1.2.B", 0, 2},
      {"a b 1.2.C", 0, 3},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    const FeaturePackAndUpdate parsed = parseAboutLine(c.line);
    EXPECT_EQ(parsed.featurePack, c.featurePack) << c.line;
    EXPECT_EQ(parsed.update, c.update) << c.line;
  }
}

} // namespace
} // namespace tsen
