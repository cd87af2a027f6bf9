// The exported help entry points over help files and a viewer of what is installed.
#include "FakeSystemTest.h"

#include <climits>
#include <set>
#include <variant>

namespace tsen::testing {
namespace {

constexpr std::string_view kRoadTopics = "100;roads:start;20,21;roadhelp;\n";

std::string defaultWiki(std::string_view page) {
  return TSEN_TEST_HELP_BASE_URL "/doku.php/" + std::string(page);
}

class HelpEntryTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    fake::setString(kHKCU, kKernel1840, "Language", "NOR");
    fake::setHelpAnswer(
        [this](const fake::HelpCall& call) { return viewable_.contains(call.file); });
  }
  std::string chm(std::string_view folder, std::string_view name) const {
    return app.library() + "\\Help\\" + std::string(folder) + "\\" + std::string(name) + ".chm";
  }
  // A compiled help file the viewer shows at any topic.
  void installChm(const std::string& relative) { viewable_.insert(writeHelp(relative, "ITSF")); }
  // What was opened, asked of the viewer and shown, in that order.
  static std::vector<std::string> seen() {
    std::vector<std::string> lines = fake::shellOpens();
    for (const auto& c : fake::helpCalls()) {
      lines.push_back(c.file + " " + std::to_string(c.command) + " " + std::to_string(c.data));
    }
    for (const auto& box : fake::messageBoxes()) {
      lines.push_back(box.caption + " " + std::to_string(box.style) + ": " + box.text);
    }
    return lines;
  }

private:
  std::set<std::string> viewable_;
};

// A missing localized file falls back to English silently; the topic reaches the viewer whole.
TEST_F(HelpEntryTest, CompiledHelpFallsBackToEnglishSilently) {
  installChm("Eng/RoadHelp.chm");
  TsEnHelp(INT_MIN, "RoadHelp");
  EXPECT_EQ(seen(), std::vector{chm("Eng", "RoadHelp") + " 15 -2147483648"});
}

// A topic the localized file lacks is told, then the English contents shown.
TEST_F(HelpEntryTest, AnUnknownTopicIsToldThenTheEnglishContentsShown) {
  installChm("NOR/RoadHelp.chm");
  installChm("Eng/RoadHelp.chm");
  fake::setHelpAnswer([](const fake::HelpCall& call) { return call.command == 1; });
  TsEnHelp(99, "RoadHelp");
  EXPECT_EQ(seen(), (std::vector{chm("NOR", "RoadHelp") + " 15 99", chm("Eng", "RoadHelp") + " 1 0",
                                 "Tessaline help 48: Unable to find topic \"99\" in help file \"" +
                                     chm("NOR", "RoadHelp") + "\" !"}));
}

// Names are arguments, never a format; a message is cut at 511 characters.
TEST_F(HelpEntryTest, HelpNamesAreShownVerbatimAndLongMessagesCut) {
  const std::string name = "a \"b\" %s%n%d%%" + std::string(600, 'n');
  TsEnHelp(0, name);
  const auto shown = fake::messageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, ("Unable to find help file \"" + chm("NOR", name)).substr(0, 511));
  EXPECT_EQ(shown[1].text, ("Unable to start help file \"" + chm("Eng", name)).substr(0, 511));
}

// Above 32 the shell succeeded; a failed launch is told once and ends the request.
TEST_F(HelpEntryTest, AFailedLaunchIsToldOnceAndEndsTheRequest) {
  writeHelp("WikiCfg/topics.cfg", kRoadTopics);
  for (const std::intptr_t answer : {32, 33}) {
    fake::reset();
    installLibraryIn(app.library());
    fake::setShellResult(answer);
    TsEnHelp(21, "RoadHelp");
    TsEnWikiHelp(100);
    std::vector<std::string> expected(2, defaultWiki("en:ts:roads:start"));
    if (answer <= 32) {
      expected.resize(4, "Tessaline 64: Failed executing Wiki url (ShellExecute).");
    }
    EXPECT_EQ(seen(), expected);
  }
}

// Each part of the wiki address from the first source that gives one; or
// compiled help: the line's first help topic, else the domain's default file.
struct Setting {
  const char* name;
  std::variant<std::string, std::uint32_t> value;
  HKEY root = kHKCU;
  std::string_view key = kKernel1840;
};

struct AddressCase {
  const char* name;
  std::string expected;
  std::vector<Setting> settings{};
  std::optional<std::string> exceptions{}, mapping{}, defaults{};
  bool only = false; // TsEnWikiHelpOnly
  int topic = 100;
};

const std::vector<AddressCase>& addressCases() {
  const std::string nb = "NOR = nb\n", noChm = "ROAD;NOR=no;\n", chm = "road;NOR=Chm;\n";
  const Setting german{"Help LanguageCode", "de"}, useChm{"Use CHM Help", 1u};
  const Setting rail{"Help Platform", "rail", kHKLM};
  const std::string road = defaultWiki("en:ts:roads:start");
  // clang-format off
  static const std::vector<AddressCase> cases{
      {"LanguageSettingFirst", defaultWiki("de:ts:roads:start"), {german}, noChm, nb},
      {"OnlyIgnoresExceptions", road, {}, chm, {}, {}, true},
      {"UserPlatform", defaultWiki("en:civil:roads:start"), {{"Help Platform", "civil"}, rail}},
      {"UserKeyWithoutPlatform", road, {rail}},
      {"MachinePlatform", defaultWiki("en:rail:roads:start"), {{"QVRConnect", 1u, kHKCU, kQvrKey},
       {"Help Platform", "rail", kHKLM, kKernel1901}}},
      {"ChmExceptionDespiteLanguageSetting", "NOR\\roadhelp.chm 15 20", {german}, chm},
      {"DomainDefaultContents", "NOR\\roaddefault.chm 1 0", {useChm}, {}, {},
       "RAIL;railhelp;\nROAD;roaddefault;\n", false, 5},
  };
  // clang-format on
  return cases;
}

class WikiAddress : public HelpEntryTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(WikiAddress, IsComposedFromTheFirstSourceOfEachPart) {
  const AddressCase& c = GetParam();
  for (const Setting& s : c.settings) {
    if (const auto* text = std::get_if<std::string>(&s.value)) {
      fake::setString(s.root, s.key, s.name, *text);
    } else {
      fake::setDword(s.root, s.key, s.name, std::get<std::uint32_t>(s.value));
    }
  }
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  writeHelp("WikiCfg/topics.cfg", kRoadTopics);
  for (const auto& [file, content] : {std::pair("Tessaline_Wiki_Exeptions.cfg", c.exceptions),
                                      {"Tessaline_Wiki_Help_Language_Mapping.cfg", c.mapping},
                                      {"Tessaline_Help_Defaults.cfg", c.defaults}}) {
    if (content) {
      writeHelp(file, *content);
    }
  }
  installChm("NOR/roadhelp.chm");
  installChm("NOR/roaddefault.chm");

  c.only ? TsEnWikiHelpOnly(c.topic) : TsEnWikiHelp(c.topic);
  const bool compiled = c.expected.find(".chm ") != std::string::npos;
  const auto lines = seen(); // the compiled help of a missing file then tells why
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], compiled ? app.library() + "\\Help\\" + c.expected : c.expected);
  EXPECT_TRUE(compiled || lines.size() == 1) << lines.back();
}

INSTANTIATE_TEST_SUITE_P(Settings, WikiAddress, ::testing::ValuesIn(addressCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tsen::testing
