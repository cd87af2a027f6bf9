#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <functional>

namespace tsen::testing {
namespace {

using VersionNumberTest = FakeSystemTest;

TEST_F(VersionNumberTest, NumberFollowsTheRegistryLayoutOnEveryCall) {
  const struct {
    std::function<void()> store;
    const char* text;
    int major;
    int minor;
  } cases[] = {
      {[] {}, "18.40", 18, 40},
      {[] { setLayout19(true); }, "19.01", 19, 1},
      {[] { fake::setDword(kHKCU, kQvrKey, "QVRConnect", 2); }, "18.40", 18, 40},
      {[] { setLayout19(true); }, "19.01", 19, 1},
  };
  for (const auto& c : cases) {
    c.store();
    EXPECT_EQ(TsEnGetCurrentVersionNumber(), c.text);
    EXPECT_EQ(TsEnGetCurrentVersionNumberMajor(), c.major) << c.text;
    EXPECT_EQ(TsEnGetCurrentVersionNumberMinor(), c.minor) << c.text;
  }
}

class AboutFileTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(scratch_.library());
  }
  std::filesystem::path aboutFile() const {
    return scratch_.path() / "Base" / "About" / "1_Tessaline_Version.txt";
  }
  ScratchFolder scratch_;
};

TEST_F(AboutFileTest, FeaturePackAndUpdateComeFromTheFirstLine) {
  // The first 1023 characters of this line hold update B; the whole line none.
  const std::string longLine =
      "w " + std::string(1017, '9') + ".4.B" + std::string(3977, 'Z') + "\n";
  const struct {
    std::string content;
    int featurePack;
    int update;
  } cases[] = {
      {"Tessaline 19.01.FP2B IR\n", 2, 2},
      {"tessaline 19.01.fp2b ir\n", 2, 2},
      {"Tessaline 19.01.FP2B IR\r\n", 2, 2},
      {"x 18.40.SPC", 0, 3},
      {"x 18.40.1A", 1, 1},
      {"x 18.40.1A\n", 0, 0},
      {"x 18.40.1A\r\n", 0, 0},
      // Text mode: CR LF reads as a line feed, which the component then holds.
      {"x 18.40.A\n", 'A' - 48, '\n' - 64},
      {"x 18.40.A\r\n", 'A' - 48, '\n' - 64},
      {"x 18.40\n", 0, 0},
      {"x 18.40\nx 18.40.SPC", 0, 0},
      {"", 0, 0},
      {std::string("x 1.2.B\0\xFF\xFE\n", 11), 0, 2},
      {longLine, 0, 2},
      // Text mode ends a file at Ctrl-Z, as the About file's readers on Windows see it.
      {"x 18.40.B\x1A\n", 0, 2},
      {std::string(5000, 'x') + " 1.2.B", 0, 0},
  };
  for (const auto& c : cases) {
    scratch_.write("Base/About/1_Tessaline_Version.txt", c.content);
    EXPECT_EQ(TsEnGetCurrentVersionNumberFeaturePack(), c.featurePack) << c.content.substr(0, 30);
    EXPECT_EQ(TsEnGetCurrentVersionNumberUpdate(), c.update) << c.content.substr(0, 30);
  }
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(AboutFileTest, MissingOrUnreadableFileGivesZerosQuietly) {
  EXPECT_EQ(TsEnGetCurrentVersionNumberFeaturePack(), 0);
  EXPECT_EQ(TsEnGetCurrentVersionNumberUpdate(), 0);
  // A folder in the file's place exists but cannot be read as a file.
  std::filesystem::create_directories(aboutFile());
  EXPECT_EQ(TsEnGetCurrentVersionNumberUpdate(), 0);
  EXPECT_TRUE(fake::messageBoxes().empty());
}

} // namespace
} // namespace tsen::testing
