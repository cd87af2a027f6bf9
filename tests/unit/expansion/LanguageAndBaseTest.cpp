#include "expansion/ExpansionFixture.h"

#include <climits>
#include <functional>

namespace tsen::testing {
namespace {

constexpr int kMarker = TsEnLangAtMarker;
constexpr int kFolder = TsEnLangSubfolder;

TEST_F(ExpansionTest, LanguageMarkerAndSubfolder) {
  const struct {
    const char* name;
    int flags;
    int base;
    const char* expected;
  } cases[] = {
      {"x@@@.chm", kMarker, 0, "xNOR@.chm"},
      {"x@@y@@", kMarker, 0, "xNORy@@"},
      {"@@", kMarker, 0, "NOR"},
      {"@", kMarker, 0, "@"},
      {"x@", kMarker, 0, "x@"},
      {"x@.@", kMarker, 0, "x@.@"},
      {"Help\\x.chm", kFolder, 0, "Help\\NOR\\x.chm"},
      {"a\\b\\c", kFolder, 0, "a\\b\\NOR\\c"},
      {"x.chm", kFolder, 0, "NOR\\x.chm"},
      {"Help\\", kFolder, 0, "Help\\NOR\\"},
      {"\\x.chm", kFolder, 0, "NOR\\\\x.chm"},
      {"\\", kFolder, 0, "NOR\\\\"},
      {"", kFolder, 0, "NOR\\"},
      {"Help\\x@@.chm", kMarker | kFolder, 0, "Help\\NOR\\xNOR.chm"},
      {"Help\\x@@.chm", -1, 0, "Help\\NOR\\xNOR.chm"},
      {"Help\\x@@.chm", ~(kMarker | kFolder), 0, "Help\\x@@.chm"},
      // The language goes in before tokens are looked for.
      {"<TEMP>", kFolder, 0, "NOR\\C:\\Temp"},
      {"Help\\x.chm", kFolder, TsEnBaseAppPath, "C:\\Suite\\Help\\NOR\\x.chm"},
      {"Help\\x@@.chm", kMarker, TsEnBaseAppPath, "C:\\Suite\\Help\\xNOR.chm"},
      {"<APPATH>\\Help\\<LANGCODE>\\x.chm", 0, 0, "C:\\Suite\\Help\\NOR\\x.chm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand(c.name, c.base, c.flags), c.expected) << c.name << " flags " << c.flags;
  }
}

TEST_F(ExpansionTest, BaseFolderGoesInFrontOfTheName) {
  const std::string app = TsEnGetAppPath();
  const struct {
    int base;
    std::function<std::string()> prefix;
  } cases[] = {
      {TsEnBaseNone, [] { return std::string(); }},
      {TsEnBaseAppPath, [&] { return app + "\\"; }},
      {TsEnBaseUserData, [] { return TsEnGetUserDataPath() + "\\"; }},
      {TsEnBaseResources, [&] { return app + "\\Resources\\"; }},
      {TsEnBaseBinaries, [&] { return app + "\\Binaries\\"; }},
      {TsEnBaseAutoCAD, [&] { return app + "\\AutoCAD\\"; }},
      {TsEnBaseTemp, [] { return TsEnGetTempPath() + "\\"; }},
      {7, [] { return std::string(); }},
      {-1, [] { return std::string(); }},
      {INT_MIN, [] { return std::string(); }},
      {INT_MAX, [] { return std::string(); }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand("Base\\About\\v.txt", c.base), c.prefix() + "Base\\About\\v.txt") << c.base;
  }
}

// Nothing installed, no language, no folders: each empty answer is put in
// place as it is.
TEST_F(FakeSystemTest, EmptyAnswersAreUsedAsTheyCome) {
  const struct {
    const char* name;
    int base;
    int flags;
    const char* expected;
  } cases[] = {
      {"<APPATH>\\x", 0, 0, "\\x"},
      {"x", TsEnBaseAppPath, 0, "\\x"},
      {"x", TsEnBaseResources, 0, "\\Resources\\x"},
      {"<LANGCODE>\\x", 0, 0, "\\x"},
      {"x@@.chm", 0, kMarker, "x.chm"},
      {"x.chm", 0, kFolder, "LANGUAGE CODE MISSING\\x.chm"},
      {"<USERDATA>\\a", 0, 0, "\\a"},
      {"<TEMP>", 0, 0, ""},
      {"<CURRENTCONFIG>|<QUARZELSHARED>|<TESSALINESHARED>", 0, 0, "||\\Tessaline"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TsEnBuildFilename(c.name, c.base, c.flags), c.expected) << c.name;
  }
}

} // namespace
} // namespace tsen::testing
