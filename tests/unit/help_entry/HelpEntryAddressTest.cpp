// The wiki address: base, language, platform and page, each from the first
// source that gives one; and which requests go to compiled help instead.
#include "HelpEntryFixture.h"

#include <climits>
#include <optional>
#include <variant>

namespace tsen::testing {
namespace {

struct Setting {
  HKEY root;
  std::string_view key;
  const char* name;
  std::variant<std::string, std::uint32_t> value;
};
Setting user(const char* name, std::variant<std::string, std::uint32_t> value) {
  return {kHKCU, kKernel1840, name, std::move(value)};
}
Setting machine(const char* name, std::string value) {
  return {kHKLM, kKernel1840, name, std::move(value)};
}
const Setting kLayout19{kHKCU, kQvrKey, "QVRConnect", 1u};

enum class Entry { wiki, wikiOnly, help };

constexpr std::string_view kRoadTopics = "100;roads:start;20,21;roadhelp;\n";

struct AddressCase {
  const char* name;
  std::string expected; // the address opened; empty: compiled help is shown instead
  std::vector<Setting> settings{};
  std::optional<std::string> exceptions{}, mapping{};
  Entry entry = Entry::wiki;
  int topic = 100;
  std::string_view topics = kRoadTopics;
  bool userLanguage = true; // "Language" NOR below the user's 18.40 key
  friend void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<AddressCase>& addressCases() {
  using enum Entry;
  const std::string nb = "NOR = nb\n", noChm = "ROAD;NOR=no;\n", chm = "road;NOR=Chm;\n";
  const std::string_view extremes = "-2147483648;lowest;\n2147483647;highest;\n";
  const Setting base = user("Help BaseUrl", "http://w.example");
  const Setting german = user("Help LanguageCode", "de");
  const Setting useChm = user("Use CHM Help", 1u);
  const Setting rail = machine("Help Platform", "rail");
  const std::string road = defaultWiki("en:ts:roads:start");
  // clang-format off
  static const std::vector<AddressCase> cases{
      {"NothingConfigured", defaultWiki("en:ts:start"), {}, {}, {}, wiki, 5, "", false},
      {"DefaultsWithPage", road},
      {"HelpTakesThePage", road, {}, {}, {}, help, 21},
      {"BaseGetsASlash", "http://w.example/doku.php/en:ts:roads:start", {base}},
      {"BaseWithSlash", "http://w.example/doku.php/en:ts:roads:start",
       {user("Help BaseUrl", "http://w.example/")}},
      {"EmptyBase", "/doku.php/en:ts:roads:start", {user("Help BaseUrl", "")}},
      {"BaseWithoutScheme", "w.example/doku.php/en:ts:roads:start",
       {user("Help BaseUrl", "w.example")}},
      {"SettingsVerbatim", "h/%s%n\"\xe9/doku.php/%d\xe9:a b:roads:start",
       {user("Help BaseUrl", "h/%s%n\"\xe9"), user("Help LanguageCode", "%d\xe9"),
        user("Help Platform", "a b")}},
      {"LanguageSettingFirst", defaultWiki("de:ts:roads:start"), {german}, noChm, nb},
      {"LanguageSettingFirstForHelp", defaultWiki("de:ts:roads:start"), {german}, noChm, nb,
       help, 21},
      {"ExceptionLanguage", defaultWiki("no:ts:roads:start"), {}, noChm, nb},
      {"ExceptionLanguageForHelp", defaultWiki("no:ts:roads:start"), {}, noChm, nb, help, 21},
      {"MappingWithoutException", defaultWiki("nb:ts:roads:start"), {}, "RAIL;NOR=no;\n", nb},
      {"MappingForHelp", defaultWiki("nb:ts:roads:start"), {}, {}, nb, help, 21},
      {"EmptyLanguageSetting", defaultWiki("nb:ts:roads:start"),
       {user("Help LanguageCode", "")}, {}, nb},
      {"MappingWithoutMatch", road, {}, {}, "DAN=da\n"},
      {"MappingToNothing", road, {}, {}, "NOR=\n"},
      {"OnlyIgnoresExceptionLanguage", defaultWiki("nb:ts:roads:start"), {}, noChm, nb, wikiOnly},
      {"OnlyIgnoresChmException", road, {}, chm, {}, wikiOnly},
      {"OnlyIgnoresUseChm", road, {useChm}, {}, {}, wikiOnly},
      {"UseChmTwoIsNoSwitch", road, {user("Use CHM Help", 2u)}},
      {"UseChm", "", {useChm}},
      {"ChmExceptionDespiteLanguageSetting", "", {german}, chm},
      {"UseChmForHelp", "", {useChm}, {}, {}, help, 21},
      {"ChmExceptionForHelp", "", {}, chm, {}, help, 21},
      {"UserPlatform", defaultWiki("en:civil:roads:start"), {user("Help Platform", "civil"), rail}},
      {"UserKeyWithoutPlatform", road, {rail}},
      {"EmptyUserPlatform", defaultWiki("en::roads:start"), {user("Help Platform", "")}},
      {"MachinePlatform", defaultWiki("en:rail:roads:start"), {rail}, {}, {}, wiki, 100,
       kRoadTopics, false},
      {"MachineKeyWithoutPlatform", road, {machine("Help LanguageCode", "de")}, {}, {}, wiki, 100,
       kRoadTopics, false},
      {"Layout19", "http://n.example/doku.php/en:p19:roads:start",
       {kLayout19, base, {kHKCU, kKernel1901, "Help BaseUrl", std::string("http://n.example")},
        {kHKCU, kKernel1901, "Help Platform", std::string("p19")}}},
      {"Layout19MachinePlatform", defaultWiki("en:m19:roads:start"),
       {kLayout19, user("Help Platform", "p18"),
        {kHKLM, kKernel1901, "Help Platform", std::string("m19")}}},
      {"PageBlanksRemovedOddBytesKept", defaultWiki("en:ts:roads:my%spage\"\xe9"), {}, {}, {},
       wiki, 100, "100; roads : my%s page\"\xe9 ;\n"},
      {"LowestTopic", defaultWiki("en:ts:lowest"), {}, {}, {}, wiki, INT_MIN, extremes},
      {"HighestTopic", defaultWiki("en:ts:highest"), {}, {}, {}, wiki, INT_MAX, extremes},
  };
  // clang-format on
  return cases;
}

class WikiAddress : public HelpEntryTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(WikiAddress, IsComposedFromTheFirstSourceOfEachPart) {
  const AddressCase& c = GetParam();
  if (c.userLanguage) {
    setLanguage("NOR");
  }
  for (const Setting& s : c.settings) {
    std::visit(
        [&s](const auto& value) {
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
            fake::setString(s.root, s.key, s.name, value);
          } else {
            fake::setDword(s.root, s.key, s.name, value);
          }
        },
        s.value);
  }
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  writeHelp("WikiCfg/topics.cfg", c.topics);
  if (c.exceptions) {
    writeHelp("Tessaline_Wiki_Exeptions.cfg", *c.exceptions);
  }
  if (c.mapping) {
    writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", *c.mapping);
  }

  switch (c.entry) {
  case Entry::wiki:
    TsEnWikiHelp(c.topic);
    break;
  case Entry::wikiOnly:
    TsEnWikiHelpOnly(c.topic);
    break;
  case Entry::help:
    TsEnHelp(c.topic, "RoadHelp");
    break;
  }

  if (c.expected.empty()) {
    EXPECT_EQ(fake::shellOpens(), std::vector<std::string>{});
    EXPECT_FALSE(fake::helpCalls().empty());
  } else {
    EXPECT_EQ(fake::shellOpens(), std::vector{c.expected});
    EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
    EXPECT_EQ(boxes(), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, WikiAddress, ::testing::ValuesIn(addressCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tsen::testing
