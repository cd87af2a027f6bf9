// The exported help entry points over help files and a help viewer that
// opens what is installed; what is opened and shown compares as plain lines.
#include "FakeSystemTest.h"

#include <climits>
#include <map>
#include <set>
#include <variant>

namespace tsen::testing {
namespace {

constexpr std::string_view kRoadTopics = "100;roads:start;20,21;roadhelp;\n";

std::string defaultWiki(std::string_view page) {
  return TSEN_TEST_HELP_BASE_URL "/doku.php/" + std::string(page);
}
std::string fileMissing(const std::string& localized, const std::string& english) {
  return "Unable to find help file \"" + localized + "\" !\n\nTried to load English version \"" +
         english + "\", but was not found either.";
}
std::string viewerFailed(const std::string& file) {
  return "Unable to start help file \"" + file + "\" !";
}

class HelpEntryTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(app.library());
    fake::setString(kHKCU, kKernel1840, "Language", "NOR");
    fake::setHelpAnswer([this](const fake::HelpCall& call) {
      const auto file = viewable_.find(call.file);
      return file != viewable_.end() &&
             (call.command == platform::kHhDisplayToc || file->second.count(call.data) != 0);
    });
  }
  void writeHelp(std::string_view relative, std::string_view content) const {
    app.write("Help/" + std::string(relative), content);
  }
  std::string chm(std::string_view folder, std::string_view name) const {
    return app.library() + "\\Help\\" + std::string(folder) + "\\" + std::string(name) + ".chm";
  }
  void installChm(std::string_view folder, std::string_view name,
                  std::set<std::intptr_t> topics = {}, bool viewerOpens = true) {
    writeHelp(std::string(folder) + "/" + std::string(name) + ".chm", "ITSF");
    if (viewerOpens) {
      viewable_[chm(folder, name)] = std::move(topics);
    }
  }
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

  ScratchFolder app;

private:
  std::map<std::string, std::set<std::intptr_t>> viewable_;
};

using Topics = std::optional<std::set<std::intptr_t>>; // nothing: not installed
// Calls and messages name the files L (localized) and E (English); a message is
// "missing" (both files), "topic" or "start" and the file.
struct CompiledCase {
  int topic;
  Topics localizedTopics, englishTopics;
  std::vector<std::string> calls, told;
  bool viewerLoads = true;
};

class CompiledHelp : public HelpEntryTest, public ::testing::WithParamInterface<CompiledCase> {};

TEST_P(CompiledHelp, OpensTheFirstFileThatServesAndTellsEachFailure) {
  const CompiledCase& c = GetParam();
  const auto path = [this](char file) { return chm(file == 'L' ? "NOR" : "Eng", "RoadHelp"); };
  for (const auto& [folder, topics] :
       {std::pair("NOR", c.localizedTopics), {"Eng", c.englishTopics}}) {
    if (topics) {
      installChm(folder, "RoadHelp", *topics, c.viewerLoads);
    }
  }
  TsEnHelp(c.topic, "RoadHelp");
  std::vector<std::string> expected;
  for (const std::string& call : c.calls) {
    expected.push_back(path(call[0]) + call.substr(1));
  }
  for (const std::string& what : c.told) {
    const std::string file = path(what.back());
    expected.push_back("Tessaline help 48: " +
                       (what == "missing" ? fileMissing(path('L'), path('E'))
                        : what[0] == 't'  ? "Unable to find topic \"" + std::to_string(c.topic) +
                                               "\" in help file \"" + file + "\" !"
                                         : viewerFailed(file)));
  }
  EXPECT_EQ(seen(), expected);
}

const Topics kMissing, kNone = std::set<std::intptr_t>{};
// clang-format off
INSTANTIATE_TEST_SUITE_P(Sequences, CompiledHelp, ::testing::Values(
    CompiledCase{INT_MIN, Topics({INT_MIN}), kNone, {"L 15 -2147483648"}, {}},
    CompiledCase{21, kMissing, Topics({21}), {"E 15 21"}, {}},
    CompiledCase{99, Topics({21}), kNone, {"L 15 99", "E 1 0"}, {"topic L"}},
    CompiledCase{7, kMissing, kMissing, {"E 15 7", "E 1 0"}, {"missing", "topic E", "start E"}},
    CompiledCase{0, kNone, kNone, {"L 1 0"}, {"start L"}, false}));
// clang-format on

// Names are arguments, never a format; a message is cut at 511 characters.
TEST_F(HelpEntryTest, HelpNamesAreShownVerbatimAndLongMessagesCut) {
  for (const std::string& name : {std::string("a \"b\" %s%n%d%%"), std::string(600, 'n') + "%n"}) {
    const std::size_t at = fake::messageBoxes().size();
    TsEnHelp(0, name);
    const auto shown = fake::messageBoxes();
    ASSERT_EQ(shown.size(), at + 2) << name;
    EXPECT_EQ(shown[at].text, fileMissing(chm("NOR", name), chm("Eng", name)).substr(0, 511));
    EXPECT_EQ(shown[at + 1].text, viewerFailed(chm("Eng", name)).substr(0, 511));
  }
}

// Above 32 the shell succeeded; a failed launch is told once and ends the
// request, without compiled help.
TEST_F(HelpEntryTest, AFailedLaunchIsToldOnceAndEndsTheRequest) {
  writeHelp("WikiCfg/topics.cfg", kRoadTopics);
  installChm("NOR", "RoadHelp", {21});
  for (const std::intptr_t answer : {-1, 32, 33}) {
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
enum class Entry { wiki, wikiOnly, help };

struct AddressCase {
  const char* name;
  std::string expected;
  std::vector<Setting> settings{};
  std::optional<std::string> exceptions{}, mapping{}, defaults{};
  Entry entry = Entry::wiki;
  int topic = 100;     // TsEnHelp asks for 21 of "roadhelp"
  bool userKey = true; // the user's 18.40 key, with "Language" NOR
};

const std::vector<AddressCase>& addressCases() {
  using enum Entry;
  const std::string nb = "NOR = nb\n", noChm = "ROAD;NOR=no;\n", chm = "road;NOR=Chm;\n";
  const Setting german{"Help LanguageCode", "de"}, useChm{"Use CHM Help", 1u};
  const Setting rail{"Help Platform", "rail", kHKLM};
  const std::string road = defaultWiki("en:ts:roads:start");
  const std::string base = "http://w.example/doku.php/en:ts:roads:start";
  // clang-format off
  static const std::vector<AddressCase> cases{
      {"NothingConfigured", defaultWiki("en:ts:start"), {}, {}, {}, {}, wiki, 5},
      {"HelpTakesThePage", road, {}, {}, {}, {}, help},
      {"BaseGetsASlash", base, {{"Help BaseUrl", "http://w.example"}}},
      {"LanguageSettingFirst", defaultWiki("de:ts:roads:start"), {german}, noChm, nb},
      {"EmptyLanguageSetting", defaultWiki("nb:ts:roads:start"), {{"Help LanguageCode", ""}}, {}, nb},
      {"MappingToNothing", road, {}, {}, "NOR=\n"},
      {"OnlyIgnoresExceptions", road, {}, chm, {}, {}, wikiOnly},
      {"UserPlatform", defaultWiki("en:civil:roads:start"), {{"Help Platform", "civil"}, rail}},
      {"UserKeyWithoutPlatform", road, {rail}},
      {"MachinePlatform", defaultWiki("en:rail:roads:start"), {rail}, {}, {}, {}, wiki, 100, false},
      {"Layout19", defaultWiki("en:p19:roads:start"), {{"QVRConnect", 1u, kHKCU, kQvrKey},
       {"Help Platform", "p18"}, {"Help Platform", "p19", kHKCU, kKernel1901}}},
      {"ChmExceptionDespiteLanguageSetting", "NOR\\roadhelp.chm 15 20", {german}, chm},
      {"ChmExceptionForHelp", "NOR\\roadhelp.chm 15 21", {}, chm, {}, {}, help},
      {"DomainDefaultContents", "NOR\\roaddefault.chm 1 0", {useChm}, {}, {},
       "RAIL;railhelp;\nROAD;roaddefault;\n", wiki, 5},
      {"NoDefaultsFile", "Eng\\.chm 1 0", {useChm}, {}, {}, {}, wiki, 5},
  };
  // clang-format on
  return cases;
}

class WikiAddress : public HelpEntryTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(WikiAddress, IsComposedFromTheFirstSourceOfEachPart) {
  const AddressCase& c = GetParam();
  if (!c.userKey) {
    fake::removeKey(kHKCU, kKernel1840);
  }
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
  installChm("NOR", "roadhelp", {20, 21});
  installChm("NOR", "roaddefault");

  c.entry == Entry::wiki       ? TsEnWikiHelp(c.topic)
  : c.entry == Entry::wikiOnly ? TsEnWikiHelpOnly(c.topic)
                               : TsEnHelp(21, "roadhelp");
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
