// TsEnBuildFilename: language marker and folder, base folders, tokens, and
// the "<DEFAULTCONFIG>" fallback; and the text helpers beneath it.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"
#include "expansion/TextHelpers.h"

#include <climits>

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

TEST(TextHelpersTest, UpperCaseFoldsAsciiAndFiveLatin1LettersAndFormatCutsAt1023) {
  EXPECT_EQ(UpperCaseCopy(std::string("az{`@\xE4\xE5\xE6\xF6\xF8\xE9\xFF\xC4\0", 15)),
            std::string("AZ{`@\xC4\xC5\xC6\xD6\xD8\xE9\xFF\xC4\0", 15));
  EXPECT_EQ(FormatText("%s-%d", std::string(1030, 'f').c_str(), 7), std::string(1023, 'f'));
  const char* noFormat = nullptr;
  EXPECT_EQ(FormatText(noFormat), "");
}

TEST_F(ExpansionTest, EachTokenInAnyCaseReplacesItsFirstOccurrenceOnlyInAnyOrder) {
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
  std::string all, allExpanded, reversed, reversedExpanded;
  for (const auto& [token, replacement] : tokens) {
    std::string lower = token, mixed = token;
    for (std::size_t i = 0; i < token.size(); ++i) {
      lower[i] = static_cast<char>(std::tolower(token[i]));
      mixed[i] = i % 2 == 0 ? lower[i] : token[i];
    }
    for (const std::string& written : {token, lower, mixed}) {
      const std::string rest = "\\Mixed\\" + written + "\\end.TXT";
      EXPECT_EQ(expand(written + rest), replacement + rest) << written;
    }
    all += token + "|";
    allExpanded += replacement + "|";
    reversed = token + "|" + reversed;
    reversedExpanded = replacement + "|" + reversedExpanded;
  }
  EXPECT_EQ(expand(all), allExpanded);
  EXPECT_EQ(expand(reversed), reversedExpanded);
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
      {"<LANGCODE>", "<CURRENTCONFIG>", "<LANGCODE>"},
  };
  for (const auto& c : cases) {
    setConfig(c.config);
    EXPECT_EQ(expand(c.name), c.expected) << c.config << " in " << c.name;
  }
}

// Which services one expansion asked: m(odule file), k(nown folder),
// t(emp folder), r(egistry).
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
      {"plain\\Name.txt", TsEnBaseNone, ""},
      {"<LANGCODE>\\x", TsEnBaseNone, "r"},
      {"<TEMP>\\x", TsEnBaseNone, "t"},
      {"<APPATH>\\x", TsEnBaseNone, "m"},
      {"<TESSALINESHARED>\\x", TsEnBaseNone, "k"},
      {"<USERDATA>\\x", TsEnBaseNone, "kr"},
      {"x", TsEnBaseTemp, "t"},
      {"x", TsEnBaseUserData, "kr"},
      {"x", 7, ""},
      {"<NOTATOKEN>\\<APPATH\\x<LANGCOD", TsEnBaseNone, ""},
      {std::string(100'000, 'a') + "<", TsEnBaseNone, ""},
  };
  for (const auto& c : cases) {
    fake::resetCalls();
    expand(c.name, c.base);
    EXPECT_EQ(asked(), c.asked) << c.name.substr(0, 40) << " base " << c.base;
    EXPECT_EQ(fake::calls().messageBox, 0);
  }
}

TEST_F(ExpansionTest, OddNamesKeepWhatIsNoToken) {
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"a<b>c>", "a<b>c>"},
      {"<<APPATH>>", "<" + kApp + ">"},
      {"<APP<APPATH>PATH>", "<APP" + kApp + "PATH>"},
      {"\xE4\xFF<appath>\x80\xE4", "\xE4\xFF" + kApp + "\x80\xE4"},
      {"<\xC4PPATH>", "<\xC4PPATH>"},
      {std::string("a\0<APPATH>", 10), std::string("a\0", 2) + kApp},
      {std::string(100'000, 'q') + "<appath>", std::string(100'000, 'q') + kApp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand(c.name), c.expected) << c.name.substr(0, 40);
  }
}

TEST_F(ExpansionTest, LanguageMarkerSubfolderAndBaseFolder) {
  const struct {
    const char* name;
    int flags;
    int base;
    std::string expected;
  } cases[] = {
      {"x@@@.chm", kMarker, 0, "xNOR@.chm"},
      {"x@@y@@", kMarker, 0, "xNORy@@"},
      {"@@", kMarker, 0, "NOR"},
      {"@", kMarker, 0, "@"},
      {"x@.@", kMarker, 0, "x@.@"},
      {"a\\b\\c", kFolder, 0, "a\\b\\NOR\\c"},
      {"x.chm", kFolder, 0, "NOR\\x.chm"},
      {"Help\\", kFolder, 0, "Help\\NOR\\"},
      {"\\x.chm", kFolder, 0, "NOR\\\\x.chm"},
      {"", kFolder, 0, "NOR\\"},
      {"Help\\x@@.chm", -1, 0, "Help\\NOR\\xNOR.chm"},
      {"Help\\x@@.chm", ~(kMarker | kFolder), 0, "Help\\x@@.chm"},
      // The language goes in before tokens are looked for.
      {"<TEMP>", kFolder, 0, "NOR\\C:\\Temp"},
      {"Help\\x.chm", kFolder, TsEnBaseAppPath, kApp + "\\Help\\NOR\\x.chm"},
      {"Help\\x@@.chm", kMarker, TsEnBaseAppPath, kApp + "\\Help\\xNOR.chm"},
      {"v.txt", 0, TsEnBaseUserData, kUserData + "\\v.txt"},
      {"v.txt", 0, TsEnBaseResources, kApp + "\\Resources\\v.txt"},
      {"v.txt", 0, TsEnBaseBinaries, kApp + "\\Binaries\\v.txt"},
      {"v.txt", 0, TsEnBaseAutoCAD, kApp + "\\AutoCAD\\v.txt"},
      {"v.txt", 0, TsEnBaseTemp, "C:\\Temp\\v.txt"},
      {"v.txt", 0, 7, "v.txt"},
      {"v.txt", 0, -1, "v.txt"},
      {"v.txt", 0, INT_MIN, "v.txt"},
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

std::string notFoundMessage(const std::string& current, const std::string& fallback) {
  return "Unable to find the file/directory \"" + current +
         "\" !\nThere is no default file/directory available either (" + fallback + ").";
}

TEST_F(ExpansionTest, DefaultConfigTakesTheCurrentThenTheDefaultVariantElseTellsTheUser) {
  ScratchFolder scratch;
  installLibraryIn(scratch.library());
  const struct {
    std::vector<const char*> files; // below the row's folder
    const char* name;               // below the row's folder
    const char* expected;           // below the row's folder
    bool told;
  } cases[] = {
      {{"Road/a.cfg", "Default/a.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg", false},
      {{"Default/a.cfg"}, "<defaultConfig>\\a.cfg", "Default\\a.cfg", false},
      {{"Default/a.cfg/"}, "<DEFAULTCONFIG>\\a.cfg", "Default\\a.cfg", false},
      // The existence tests see the shared-folder token as it is written.
      {{"Default/<QUARZELSHARED>/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Default\\<QUARZELSHARED>\\a.cfg",
       false},
      {{"Default/other.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg", true},
      {{"Default/C:/Common/Quarzel Shared/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Road\\C:\\Common\\Quarzel Shared\\a.cfg",
       true},
      {{"Default/a.cfg"}, "<CURRENTCONFIG>\\a.cfg", "Road\\a.cfg", false},
  };
  int row = 0;
  for (const auto& c : cases) {
    const std::string folder = "row" + std::to_string(++row);
    SCOPED_TRACE(c.name);
    for (const std::string file : c.files) {
      if (file.back() == '/') {
        std::filesystem::create_directories(scratch.path() / folder / file);
      } else {
        scratch.write(folder + "/" + file, "x");
      }
    }
    const std::string here = scratch.library(folder) + "\\";
    const auto before = fake::messageBoxes().size();
    EXPECT_EQ(expand("<APPATH>\\" + folder + "\\" + c.name), here + c.expected);
    const auto boxes = fake::messageBoxes();
    ASSERT_EQ(boxes.size() - before, c.told ? 1u : 0u);
    if (c.told) {
      std::string current = here + c.name, fallback = current;
      current.replace(current.find("<DEFAULTCONFIG>"), 15, "Road");
      fallback.replace(fallback.find("<DEFAULTCONFIG>"), 15, "Default");
      EXPECT_EQ(boxes.back().text, notFoundMessage(current, fallback));
      EXPECT_EQ(boxes.back().caption, "Tessaline");
      EXPECT_EQ(boxes.back().style, 0x30u);
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
