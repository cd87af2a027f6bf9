#include "expansion/ExpansionFixture.h"

#include "support/AsciiCase.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace tsen::testing {
namespace {

struct TokenRow {
  std::string token;
  std::function<std::string()> replacement;
};

// Every token but "<DEFAULTCONFIG>", which has its own tests, in table order.
std::vector<TokenRow> tokensInOrder() {
  const auto app = [](const char* folder) {
    return [folder] { return TsEnGetAppPath() + folder; };
  };
  return {
      {"<APPATH>", TsEnGetAppPath},
      {"<APPPATH>", TsEnGetAppPath},
      {"<BINARIES>", app("\\Binaries")},
      {"<MYTESSALINE>", TsEnGetMyTessalinePath},
      {"<RESOURCES>", app("\\Resources")},
      {"<USERDATA>", TsEnGetUserDataPath},
      {"<AUTOCAD>", app("\\AutoCAD")},
      {"<TEMP>", TsEnGetTempPath},
      {"<LANGCODE>", TsEnGetLanguageCode},
      {"<LANGNAME>", TsEnGetLanguageName},
      {"<LANGCOUNTRY>", TsEnGetLanguageCountry},
      {"<CURRENTCONFIG>", TsEnGetCurrentConfig},
      {"<QUARZELSHARED>", TsEnGetQuarzelSharedPath},
      {"<TESSALINESHARED>", TsEnGetTessalineSharedPath},
  };
}

// Every step-th letter in lower case: 1 all, 2 every other one.
std::string lowered(std::string text, std::size_t step) {
  for (std::size_t i = 0; i < text.size(); i += step) {
    text[i] = asciiLower(text[i]);
  }
  return text;
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  return text.replace(text.find(from), from.size(), to);
}

TEST_F(ExpansionTest, EachTokenInAnyCaseReplacesItsFirstOccurrenceOnly) {
  for (const auto& row : tokensInOrder()) {
    for (const std::string& written : {row.token, lowered(row.token, 1), lowered(row.token, 2)}) {
      const std::string rest = "\\Mixed\\" + written + "\\end.TXT";
      EXPECT_EQ(expand(written + rest), row.replacement() + rest) << written;
    }
  }
}

TEST_F(ExpansionTest, EveryTokenOfOneNameIsFoundWhateverTheOrder) {
  auto rows = tokensInOrder();
  for (int pass = 0; pass < 2; ++pass) {
    std::string name;
    std::string expected;
    for (const auto& row : rows) {
      name += row.token + "|";
      expected += row.replacement() + "|";
    }
    EXPECT_EQ(expand(name), expected) << name;
    std::reverse(rows.begin(), rows.end());
  }
}

TEST_F(ExpansionTest, ReplacementTextsAreSearchedByLaterTokensOnly) {
  const struct {
    const char* config;
    const char* name;
    std::function<std::string()> expected;
  } cases[] = {
      {"<temp>", "<USERDATA>\\a",
       [] { return replaced(TsEnGetUserDataPath(), "<temp>", TsEnGetTempPath()) + "\\a"; }},
      {"<APPATH>", "<USERDATA>\\a", [] { return TsEnGetUserDataPath() + "\\a"; }},
      {"<QuarzelShared>", "<CURRENTCONFIG>", TsEnGetQuarzelSharedPath},
      {"<LANGCODE>", "<CURRENTCONFIG>", [] { return std::string("<LANGCODE>"); }},
      {"<TEMP>", "<TEMP>\\<USERDATA>",
       [] { return TsEnGetTempPath() + "\\" + TsEnGetUserDataPath(); }},
  };
  for (const auto& c : cases) {
    setConfig(c.config);
    EXPECT_EQ(expand(c.name), c.expected()) << c.config << " in " << c.name;
  }
}

TEST_F(ExpansionTest, OnlyTheTokensAndBaseFoundAskTheSystem) {
  const struct {
    std::string name;
    int base;
    Asked asked;
  } cases[] = {
      {"plain\\Name.txt", TsEnBaseNone, {}},
      {"<LANGCODE>\\x", TsEnBaseNone, {.registry = true}},
      {"<TEMP>\\x", TsEnBaseNone, {.tempFolder = true}},
      {"<APPATH>\\x", TsEnBaseNone, {.moduleFile = true}},
      {"<QUARZELSHARED>\\x", TsEnBaseNone, {.knownFolder = true}},
      {"<TESSALINESHARED>\\x", TsEnBaseNone, {.knownFolder = true}},
      {"<USERDATA>\\x", TsEnBaseNone, {.knownFolder = true, .registry = true}},
      {"<CURRENTCONFIG>\\x", TsEnBaseNone, {.registry = true}},
      {"x", TsEnBaseTemp, {.tempFolder = true}},
      {"x", TsEnBaseUserData, {.knownFolder = true, .registry = true}},
      {"x", 7, {}},
      {"<NOTATOKEN>\\<APPATH\\x<LANGCOD", TsEnBaseNone, {}},
      {std::string(100'000, 'a') + "<", TsEnBaseNone, {}},
  };
  for (const auto& c : cases) {
    fake::resetCalls();
    expand(c.name, c.base);
    EXPECT_EQ(Asked::since(fake::calls()), c.asked) << c.name.substr(0, 40) << " base " << c.base;
  }
}

TEST_F(ExpansionTest, OddNamesKeepWhatIsNoToken) {
  const std::string app = "C:\\Suite";
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"<", "<"},
      {"<>", "<>"},
      {"a<b>c>", "a<b>c>"},
      {"<<APPATH>>", "<" + app + ">"},
      {"<APPATH", "<APPATH"},
      {"x<LANGCOD", "x<LANGCOD"},
      {"<APP<APPATH>PATH>", "<APP" + app + "PATH>"},
      {"\xE4\xFF<appath>\x80\xE4", "\xE4\xFF" + app + "\x80\xE4"},
      {"<\xC4PPATH>", "<\xC4PPATH>"},
      {std::string("a\0<APPATH>", 10), std::string("a\0", 2) + app},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand(c.name), c.expected) << c.name;
  }
  for (std::size_t length : {1, 259, 260, 1024, 100'000}) {
    const std::string plain(length, 'q');
    EXPECT_EQ(expand(plain), plain) << length;
    const std::string tailed = std::string(length, 'q') + "<appath>";
    EXPECT_EQ(expand(tailed), plain + app) << length;
  }
}

} // namespace
} // namespace tsen::testing
