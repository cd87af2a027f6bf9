// TsEnBuildFilename: language, base folders, tokens, "<DEFAULTCONFIG>".
#include "support/FakeSystemTest.h"

namespace tsen::testing {
namespace {

constexpr int kMarker = TsEnLangAtMarker;
constexpr int kFolder = TsEnLangSubfolder;
const std::string kApp = "C:\\Suite";
const std::string kUserData = "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\Road";

// A machine with every answer that expansion can ask for.
class ExpansionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(kApp);
    fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
    fake::setKnownFolder(platform::KnownFolder::commonFiles, "C:\\Common");
    fake::setTempFolder("C:\\Temp\\");
    setConfig("Road");
    fake::setString(kHKCU, kKernel1840, "Language", "NOR");
    fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Mine");
  }
  static void setConfig(std::string_view config) {
    fake::setString(kHKCU, kKernel1840, "Current Config", config);
  }
  static std::string expand(const std::string& name, int base = TsEnBaseNone, int flags = 0) {
    return TsEnBuildFilename(name, base, flags);
  }
};

TEST_F(ExpansionTest, EachTokenInAnyCaseReplacesItsFirstOccurrenceOnly) {
  // Every token but "<DEFAULTCONFIG>", in table order.
  const std::vector<std::pair<std::string, std::string>> tokens = {
      {"<APPATH>", kApp},
      {"<APPPATH>", kApp},
      {"<BINARIES>", kApp + "\\Binaries"},
      {"<MYTESSALINE>", "D:\\Mine"},
      {"<RESOURCES>", kApp + "\\Resources"},
      {"<USERDATA>", kUserData},
      {"<AUTOCAD>", kApp + "\\AutoCAD"},
      {"<TEMP>", "C:\\Temp"},
      {"<LANGCODE>", "NOR"},
      {"<LANGNAME>", "Norwegian"},
      {"<LANGCOUNTRY>", "Norway"},
      {"<CURRENTCONFIG>", "Road"},
      {"<QUARZELSHARED>", "C:\\Common\\Quarzel Shared"},
      {"<TESSALINESHARED>", "C:\\Common\\Quarzel Shared\\Tessaline"},
  };
  std::string all, allExpanded;
  for (const auto& [token, replacement] : tokens) {
    std::string lower = token;
    std::transform(token.begin(), token.end(), lower.begin(), ::tolower);
    const std::string rest = "\\Mixed\\" + token + "\\end.TXT";
    EXPECT_EQ(expand(lower + rest), replacement + rest) << token;
    all += token + "|";
    allExpanded += replacement + "|";
  }
  // Each replacement moves the later tokens; they are found all the same.
  EXPECT_EQ(expand(all), allExpanded);
}

TEST_F(ExpansionTest, ReplacementTextsAreSearchedByLaterTokensOnly) {
  const struct {
    const char* config;
    const char* name;
    std::string expected;
  } cases[] = {
      {"<temp>", "<USERDATA>\\a", "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\C:\\Temp\\a"},
      {"<APPATH>", "<USERDATA>\\a", "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\<APPATH>\\a"},
      {"<QuarzelShared>", "<CURRENTCONFIG>", "C:\\Common\\Quarzel Shared"},
  };
  for (const auto& c : cases) {
    setConfig(c.config);
    EXPECT_EQ(expand(c.name), c.expected) << c.config << " in " << c.name;
  }
}

// The services asked: m(odule file), k(nown folder), t(emp folder), r(egistry).
std::string asked() {
  const fake::CallCounts c = fake::calls();
  return std::string(c.moduleFileName > 0 ? "m" : "") + (c.knownFolder > 0 ? "k" : "") +
         (c.tempFolder > 0 ? "t" : "") + (c.regOpenKey + c.regQueryValue > 0 ? "r" : "");
}

TEST_F(ExpansionTest, OnlyTheTokensAndBaseFoundAskTheSystem) {
  const struct {
    std::string name;
    int base;
    const char* asked;
  } cases[] = {
      {"plain\\Name.txt", TsEnBaseNone, ""}, {"<LANGCODE>\\x", TsEnBaseNone, "r"},
      {"<APPATH>\\x", TsEnBaseNone, "m"},    {"<QUARZELSHARED>", TsEnBaseNone, "k"},
      {"x", TsEnBaseUserData, "kr"},         {"<NOTATOKEN>\\<APPATH\\x<LANGCOD", 7, ""},
  };
  for (const auto& c : cases) {
    fake::resetCalls();
    expand(c.name, c.base);
    EXPECT_EQ(asked(), c.asked) << c.name.substr(0, 40) << " base " << c.base;
    EXPECT_EQ(fake::calls().messageBox, 0);
  }
}

TEST_F(ExpansionTest, LanguageMarkerSubfolderBaseFolderAndOddNames) {
  const struct {
    std::string name;
    int flags;
    int base;
    std::string expected;
  } cases[] = {
      {"x@@@.chm@@", kMarker, 0, "xNOR@.chm@@"},
      {"x@.@", kMarker, 0, "x@.@"},
      {"a\\b\\c", kFolder, 0, "a\\b\\NOR\\c"},
      {"x.chm", kFolder, 0, "NOR\\x.chm"},
      {"\\x.chm", kFolder, 0, "NOR\\\\x.chm"},
      {"Help\\x@@.chm", -1, 0, "Help\\NOR\\xNOR.chm"},
      {"Help\\x@@.chm", ~(kMarker | kFolder), 0, "Help\\x@@.chm"},
      // The language goes in before tokens are looked for.
      {"<TEMP>", kFolder, 0, "NOR\\C:\\Temp"},
      {"Help\\x.chm", kFolder, TsEnBaseAppPath, kApp + "\\Help\\NOR\\x.chm"},
      {"v.txt", 0, TsEnBaseUserData, kUserData + "\\v.txt"},
      {"v.txt", 0, TsEnBaseResources, kApp + "\\Resources\\v.txt"},
      {"v.txt", 0, TsEnBaseBinaries, kApp + "\\Binaries\\v.txt"},
      {"v.txt", 0, TsEnBaseAutoCAD, kApp + "\\AutoCAD\\v.txt"},
      {"v.txt", 0, TsEnBaseTemp, "C:\\Temp\\v.txt"},
      {"v.txt", 0, 7, "v.txt"},
      // What is no token stays as it is.
      {"", 0, 0, ""},
      {"<<APPATH>>", 0, 0, "<" + kApp + ">"},
      {"<APP<APPATH>PATH>", 0, 0, "<APP" + kApp + "PATH>"},
      {"\xE4\xFF<appath>\x80\xE4", 0, 0, "\xE4\xFF" + kApp + "\x80\xE4"},
      {"<\xC4PPATH>", 0, 0, "<\xC4PPATH>"},
      {std::string("a\0<APPATH>", 10), 0, 0, std::string("a\0", 2) + kApp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand(c.name, c.base, c.flags), c.expected)
        << c.name << " flags " << c.flags << " base " << c.base;
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
      {"x", TsEnBaseResources, 0, "\\Resources\\x"},
      {"x@@.chm", 0, kMarker, "x.chm"},
      {"x.chm", 0, kFolder, "LANGUAGE CODE MISSING\\x.chm"},
      {"<TEMP>", 0, 0, ""},
      {"<CURRENTCONFIG>|<QUARZELSHARED>|<TESSALINESHARED>", 0, 0, "||\\Tessaline"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TsEnBuildFilename(c.name, c.base, c.flags), c.expected) << c.name;
  }
}

std::string notFoundMessage(const std::string& current, const std::string& fallback) {
  return "Unable to find the file/directory \"" + current +
         "\" !\nThere is no default file/directory available either (" + fallback + ").";
}

TEST_F(ExpansionTest, DefaultConfigTakesTheCurrentThenTheDefaultVariantElseTellsTheUser) {
  ScratchFolder scratch;
  installLibraryIn(scratch.library());
  const struct {
    std::vector<const char*> files; // below the row's folder, as are name and expected
    const char* name;
    const char* expected; // with a message box when Road is kept
  } cases[] = {
      {{"Road/a.cfg", "Default/a.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg"},
      {{"Default/a.cfg"}, "<defaultConfig>\\a.cfg", "Default\\a.cfg"},
      {{"Default/a.cfg/"}, "<DEFAULTCONFIG>\\a.cfg", "Default\\a.cfg"},
      // The existence tests see the shared-folder token as it is written.
      {{"Default/<QUARZELSHARED>/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Default\\<QUARZELSHARED>\\a.cfg"},
      // Told, and the expansion goes on.
      {{"Default/other.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Road\\C:\\Common\\Quarzel Shared\\a.cfg"},
  };
  int row = 0;
  for (const auto& c : cases) {
    const std::string folder = "row" + std::to_string(++row);
    for (const std::string file : c.files) {
      std::filesystem::create_directories((scratch.path() / folder / file).parent_path());
      scratch.write(folder + "/" + file, "x");
    }
    const std::string here = scratch.library(folder) + "\\";
    const auto before = fake::messageBoxes().size();
    EXPECT_EQ(expand("<APPATH>\\" + folder + "\\" + c.name), here + c.expected);
    const auto boxes = fake::messageBoxes();
    ASSERT_EQ(boxes.size() - before, c.expected[0] == 'R' && row > 1 ? 1u : 0u) << c.name;
    if (boxes.size() > before) {
      std::string current = here + c.name, fallback = current;
      current.replace(current.find("<DEFAULTCONFIG>"), 15, "Road");
      fallback.replace(fallback.find("<DEFAULTCONFIG>"), 15, "Default");
      EXPECT_EQ(boxes.back().text, notFoundMessage(current, fallback));
      EXPECT_EQ(boxes.back().caption + std::to_string(boxes.back().style), "Tessaline48");
    }
  }
  // The message is cut at 1023 characters.
  const std::string name = scratch.library() + "\\" + std::string(1000, 'n') + "\\<DEFAULTCONFIG>";
  const std::string result = expand(name);
  const std::string whole = notFoundMessage(result, name.substr(0, name.size() - 15) + "Default");
  EXPECT_EQ(fake::messageBoxes().back().text, whole.substr(0, 1023));
}

} // namespace
} // namespace tsen::testing
