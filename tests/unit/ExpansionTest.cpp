// TsEnBuildFilename: language, base folders, tokens, "<DEFAULTCONFIG>".
#include "FakeSystemTest.h"

namespace tsen::testing {
namespace {

const std::string kApp = "C:\\Suite";
const std::string kUserData = "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\Road";

class ExpansionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(kApp);
    fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
    fake::setKnownFolder(platform::KnownFolder::commonFiles, "C:\\Common");
    fake::setTempFolder("C:\\Temp\\");
    fake::setString(kHKCU, kKernel1840, "Current Config", "Road");
    fake::setString(kHKCU, kKernel1840, "Language", "NOR");
    fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Mine");
  }
  static std::string expand(const std::string& name, int base = TsEnBaseNone, int flags = 0) {
    return TsEnBuildFilename(name, base, flags);
  }
};

TEST_F(ExpansionTest, EachTokenInAnyCaseReplacesItsFirstOccurrenceOnly) {
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> tokens = {
      {"<appath>", kApp}, {"<apppath>", kApp}, {"<binaries>", kApp + "\\Binaries"},
      {"<mytessaline>", "D:\\Mine"}, {"<resources>", kApp + "\\Resources"},
      {"<userdata>", kUserData}, {"<autocad>", kApp + "\\AutoCAD"}, {"<temp>", "C:\\Temp"},
      {"<langcode>", "NOR"}, {"<langname>", "Norwegian"}, {"<langcountry>", "Norway"},
      {"<currentconfig>", "Road"}, {"<quarzelshared>", "C:\\Common\\Quarzel Shared"},
      {"<tessalineshared>", "C:\\Common\\Quarzel Shared\\Tessaline"}};
  // clang-format on
  std::string names, expanded;
  for (const auto& [token, replacement] : tokens) {
    names += token + "|";
    expanded += replacement + "|";
  }
  EXPECT_EQ(expand(names + names), expanded + names);
}

// What each base folder puts in front is pinned by the expansion fuzzer.
TEST_F(ExpansionTest, LanguageMarkerSubfolderAndOddNames) {
  const struct {
    std::string name;
    int flags, base;
    std::string expected;
  } cases[] = {
      {"x@@@.chm@@", TsEnLangAtMarker, 0, "xNOR@.chm@@"},
      {"a\\b\\c", TsEnLangSubfolder, 0, "a\\b\\NOR\\c"},
      {"x.chm", TsEnLangSubfolder, 0, "NOR\\x.chm"},
      {"<TEMP>", TsEnLangSubfolder, 0, "NOR\\C:\\Temp"},
      {"<APP<APPATH>PATH>", 0, 0, "<APP" + kApp + "PATH>"},
      {std::string("a\0<APPATH>", 10), 0, 0, std::string("a\0", 2) + kApp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand(c.name, c.base, c.flags), c.expected)
        << c.name << " flags " << c.flags << " base " << c.base;
  }
}

TEST_F(ExpansionTest, DefaultConfigTakesTheCurrentThenTheDefaultVariantElseTellsTheUser) {
  installLibraryIn(app.library());
  const struct {
    std::vector<const char*> files; // below the row's folder, as are name and expected
    const char* name;
    const char* expected; // with a message box when Road is kept
  } cases[] = {
      {{"Road/a.cfg", "Default/a.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg"},
      {{"Default/a.cfg/x"}, "<defaultConfig>\\a.cfg", "Default\\a.cfg"},
      {{"Default/<QUARZELSHARED>/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Default\\<QUARZELSHARED>\\a.cfg"},
      {{"Default/other.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Road\\C:\\Common\\Quarzel Shared\\a.cfg"},
  };
  int row = 0;
  for (const auto& c : cases) {
    const std::string folder = "row" + std::to_string(++row);
    for (const std::string file : c.files) {
      app.write(folder + "/" + file, "x");
    }
    const auto before = fake::messageBoxes().size();
    EXPECT_EQ(expand("<APPATH>\\" + folder + "\\" + c.name),
              app.library(folder) + "\\" + c.expected);
    EXPECT_EQ(fake::messageBoxes().size() - before, row == 4 ? 1u : 0u) << c.name;
  }
  // The message names both variants, cut at 1023 characters.
  const std::string name = app.library() + "\\" + std::string(1000, 'n') + "\\<DEFAULTCONFIG>";
  const std::string result = expand(name);
  const auto box = fake::messageBoxes().back();
  EXPECT_EQ(box.text, ("Unable to find the file/directory \"" + result +
                       "\" !\nThere is no default file/directory available either (" +
                       name.substr(0, name.size() - 15) + "Default).")
                          .substr(0, 1023));
  EXPECT_EQ(box.caption + std::to_string(box.style), "Tessaline48");
}

} // namespace
} // namespace tsen::testing
