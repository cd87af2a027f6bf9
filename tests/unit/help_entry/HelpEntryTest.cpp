// The exported help entry points over an application folder with help files
// and a help viewer that opens what is installed: compiled help and its
// fallbacks, the wiki address, and the choice between them. What the user is
// shown is written as plain lines, so that whole sequences compare at once.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <climits>
#include <map>
#include <set>
#include <variant>

namespace tsen::testing {
namespace {

constexpr unsigned kToc = platform::kHhDisplayToc;
constexpr unsigned kTopic = platform::kHhHelpContext;
constexpr std::string_view kRoadTopics = "100;roads:start;20,21;roadhelp;\n";

// The default wiki's address of a page "<language>:<platform>:<page>", as built.
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
std::string topicMissing(int topic, const std::string& file) {
  return "Unable to find topic \"" + std::to_string(topic) + "\" in help file \"" + file + "\" !";
}
// A message box as one line: caption, style, text.
std::string boxLine(const std::string& caption, unsigned style, const std::string& text) {
  return caption + " " + std::to_string(style) + ": " + text;
}
std::string helpBox(const std::string& text) {
  return boxLine("Tessaline help", 0x30, text);
}
std::string viewerLine(const std::string& file, unsigned command, std::intptr_t data) {
  return file + " " + std::to_string(command) + " " + std::to_string(data);
}

class HelpEntryTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(app.library());
    fake::setHelpAnswer([this](const fake::HelpCall& call) {
      const auto file = viewable_.find(call.file);
      return file != viewable_.end() &&
             (call.command == kToc || file->second.count(call.data) != 0);
    });
  }
  static void setLanguage(std::string_view code) {
    fake::setString(kHKCU, kKernel1840, "Language", code);
  }
  void writeHelp(std::string_view relative, std::string_view content) const {
    app.write("Help/" + std::string(relative), content);
  }
  // <app>\Help\<folder>\<name>.chm, spelled as the library spells it.
  std::string chm(std::string_view folder, std::string_view name) const {
    return app.library() + "\\Help\\" + std::string(folder) + "\\" + std::string(name) + ".chm";
  }
  // Installs a compiled help file. The viewer opens it at its contents and at
  // the topics given, unless it cannot open it at all.
  void installChm(std::string_view folder, std::string_view name,
                  std::set<std::intptr_t> topics = {}, bool viewerOpens = true) {
    writeHelp(std::string(folder) + "/" + std::string(name) + ".chm", "ITSF");
    if (viewerOpens) {
      viewable_[chm(folder, name)] = std::move(topics);
    }
  }
  static std::vector<std::string> viewerCalls() {
    std::vector<std::string> lines;
    for (const auto& call : fake::helpCalls()) {
      lines.push_back(viewerLine(call.file, call.command, call.data));
    }
    return lines;
  }
  static std::vector<std::string> boxes() {
    std::vector<std::string> lines;
    for (const auto& box : fake::messageBoxes()) {
      lines.push_back(boxLine(box.caption, box.style, box.text));
    }
    return lines;
  }

  ScratchFolder app;

private:
  std::map<std::string, std::set<std::intptr_t>> viewable_;
};

using Topics = std::optional<std::set<std::intptr_t>>; // nothing: not installed
enum File { localized, english };
enum Told { fileMissing_, topicMissing_, viewerFailed_ };
struct CompiledCase {
  int topic;
  Topics localizedTopics, englishTopics; // topics the viewer finds in each file
  std::vector<std::tuple<File, unsigned, std::intptr_t>> calls;
  std::vector<std::tuple<Told, File>> told;
  bool viewerLoads = true;
  friend void PrintTo(const CompiledCase& c, std::ostream* out) { *out << "topic " << c.topic; }
};

class CompiledHelp : public HelpEntryTest, public ::testing::WithParamInterface<CompiledCase> {};

TEST_P(CompiledHelp, OpensTheFirstFileThatServesAndTellsEachFailure) {
  const CompiledCase& c = GetParam();
  setLanguage("NOR");
  const std::string path[] = {chm("NOR", "RoadHelp"), chm("Eng", "RoadHelp")};
  if (c.localizedTopics) {
    installChm("NOR", "RoadHelp", *c.localizedTopics, c.viewerLoads);
  }
  if (c.englishTopics) {
    installChm("Eng", "RoadHelp", *c.englishTopics, c.viewerLoads);
  }
  TsEnHelp(c.topic, "RoadHelp");

  std::vector<std::string> calls, told;
  for (const auto& [file, command, data] : c.calls) {
    calls.push_back(viewerLine(path[file], command, data));
  }
  for (const auto& [what, file] : c.told) {
    told.push_back(helpBox(what == fileMissing_    ? fileMissing(path[localized], path[english])
                           : what == topicMissing_ ? topicMissing(c.topic, path[file])
                                                   : viewerFailed(path[file])));
  }
  EXPECT_EQ(viewerCalls(), calls);
  EXPECT_EQ(boxes(), told);
  EXPECT_TRUE(fake::shellOpens().empty());
}

const Topics kMissing;
Topics known(std::initializer_list<std::intptr_t> topics = {}) {
  return std::set<std::intptr_t>(topics);
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Sequences, CompiledHelp, ::testing::Values(
    CompiledCase{0, known(), known(), {{localized, kToc, 0}}, {}},
    CompiledCase{21, known({21}), known({21}), {{localized, kTopic, 21}}, {}},
    CompiledCase{INT_MIN, known({INT_MIN}), kMissing, {{localized, kTopic, INT_MIN}}, {}},
    CompiledCase{21, kMissing, known({21}), {{english, kTopic, 21}}, {}},
    CompiledCase{99, known({21}), known(), {{localized, kTopic, 99}, {english, kToc, 0}},
                 {{topicMissing_, localized}}},
    CompiledCase{-7, known({21}), kMissing, {{localized, kTopic, -7}, {english, kToc, 0}},
                 {{topicMissing_, localized}, {viewerFailed_, english}}},
    CompiledCase{99, kMissing, known(), {{english, kTopic, 99}, {english, kToc, 0}},
                 {{topicMissing_, english}}},
    CompiledCase{0, kMissing, kMissing, {{english, kToc, 0}},
                 {{fileMissing_, english}, {viewerFailed_, english}}},
    CompiledCase{7, kMissing, kMissing, {{english, kTopic, 7}, {english, kToc, 0}},
                 {{fileMissing_, english}, {topicMissing_, english}, {viewerFailed_, english}}},
    CompiledCase{0, known(), known(), {{localized, kToc, 0}},
                 {{viewerFailed_, localized}}, false},
    CompiledCase{21, known({21}), known(), {{localized, kTopic, 21}, {english, kToc, 0}},
                 {{topicMissing_, localized}, {viewerFailed_, english}}, false}));
// clang-format on

// Names are passed as arguments, never as a format; a message that would
// not fit 512 characters is cut at 511 while the viewer still gets the name.
TEST_F(HelpEntryTest, HelpNamesAreShownVerbatimAndLongMessagesCut) {
  setLanguage("NOR");
  for (const std::string& name :
       {std::string(), std::string("a \"b\" %s%n%d%% \xe9\xff"), std::string(600, 'n') + "%n"}) {
    const std::size_t before = fake::messageBoxes().size();
    TsEnHelp(0, name);
    const auto shown = fake::messageBoxes();
    ASSERT_EQ(shown.size(), before + 2) << name;
    EXPECT_EQ(shown[before].text, fileMissing(chm("NOR", name), chm("Eng", name)).substr(0, 511));
    EXPECT_EQ(shown[before + 1].text, viewerFailed(chm("Eng", name)).substr(0, 511));
    EXPECT_EQ(fake::helpCalls().back().file, chm("Eng", name));
  }
  EXPECT_EQ(fake::messageBoxes().back().text.size(), 511u);
}

TEST_F(HelpEntryTest, AnEmptyLanguageCodeLeavesTwoBackslashes) {
  TsEnHelp(0, "x");
  EXPECT_EQ(boxes(),
            (std::vector{helpBox(fileMissing(app.library() + "\\Help\\\\x.chm", chm("Eng", "x"))),
                         helpBox(viewerFailed(chm("Eng", "x")))}));
}

// TsEnHelp offers a request to the wiki first: a topic file line for the help
// name and topic opens its page and nothing else.
TEST_F(HelpEntryTest, ATopicFileLineOpensTheWikiInsteadOfTheCompiledFile) {
  setLanguage("NOR");
  writeHelp("WikiCfg/topics.cfg", "100;roads:start;20,21;roadhelp;\n"
                                  "101; bridges : deck ;-5,30;road help;\n"
                                  "102;odd%s\"page\xe9;7;%n\xe9;\n");
  const struct {
    int topic;
    std::string helpName;
    const char* page; // null: the compiled help file
  } cases[] = {
      {21, "RoadHelp", "roads:start"}, {2, "roadhelp", nullptr},
      {100, "roadhelp", nullptr},      {-5, "ROADHELP", "bridges:deck"},
      {-5, "road help", nullptr},      {7, "%N\xe9", "odd%s\"page\xe9"},
      {7, "%n\xc9", nullptr},          {21, "", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.topic) + " " + c.helpName);
    const auto opens = fake::shellOpens().size();
    const auto calls = fake::helpCalls().size();
    TsEnHelp(c.topic, c.helpName);
    if (c.page != nullptr) {
      EXPECT_EQ(fake::shellOpens().back(), defaultWiki(std::string("en:ts:") + c.page));
      EXPECT_EQ(fake::helpCalls().size(), calls);
    } else {
      EXPECT_EQ(fake::shellOpens().size(), opens);
      ASSERT_GT(fake::helpCalls().size(), calls); // nothing installed: the English name
      EXPECT_EQ(viewerCalls()[calls], viewerLine(chm("Eng", c.helpName), kTopic, c.topic));
    }
  }
}

// Above 32 the shell succeeded; every failed launch is told once and ends
// the request, without compiled help.
class ShellAnswer : public HelpEntryTest, public ::testing::WithParamInterface<std::intptr_t> {};

TEST_P(ShellAnswer, AFailedLaunchIsToldOnceAndEndsTheRequest) {
  setLanguage("NOR");
  writeHelp("WikiCfg/topics.cfg", kRoadTopics);
  installChm("NOR", "RoadHelp", {21});
  fake::setShellResult(GetParam());
  TsEnHelp(21, "RoadHelp");
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(100);
  EXPECT_EQ(fake::shellOpens().size(), 3u);
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
  EXPECT_EQ(boxes(), std::vector<std::string>(
                         GetParam() > 32 ? 0 : 3,
                         boxLine("Tessaline", 0x40, "Failed executing Wiki url (ShellExecute).")));
}

INSTANTIATE_TEST_SUITE_P(Answers, ShellAnswer, ::testing::Values(-1, 0, 32, 33, INTPTR_MAX));

// The wiki address: base, language, platform and page, each from the first
// source that gives one; and, where the settings choose compiled help, the
// first help topic of the topic's line or else the contents of the domain's
// default file.
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
enum class Entry { wiki, wikiOnly, help };

struct AddressCase {
  const char* name;
  // The address opened, or else the one viewer call "<file below Help> <command> <data>".
  std::string expected;
  std::vector<Setting> settings{};
  std::optional<std::string> exceptions{}, mapping{}, defaults{};
  Entry entry = Entry::wiki;
  int topic = 100; // TsEnHelp asks for 21 of "roadhelp"
  std::string_view topics = kRoadTopics;
  bool userLanguage = true; // "Language" NOR below the user's 18.40 key
  friend void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<AddressCase>& addressCases() {
  using enum Entry;
  const std::string nb = "NOR = nb\n", noChm = "ROAD;NOR=no;\n", chm = "road;NOR=Chm;\n";
  const Setting base = user("Help BaseUrl", "http://w.example");
  const Setting german = user("Help LanguageCode", "de");
  const Setting useChm = user("Use CHM Help", 1u);
  const Setting rail = machine("Help Platform", "rail");
  const Setting layout19{kHKCU, kQvrKey, "QVRConnect", 1u};
  const std::string road = defaultWiki("en:ts:roads:start");
  const std::string_view topics = "100;roads:start;20,21;roadhelp;\n101;b:d;-5,30;roadhelp;\n";
  const std::string roadDefaults = "RAIL;railhelp;\nROAD;roaddefault;\n";
  // clang-format off
  static const std::vector<AddressCase> cases{
      {"NothingConfigured", defaultWiki("en:ts:start"), {}, {}, {}, {}, wiki, 100, "", false},
      {"DefaultsWithPage", road},
      {"HelpTakesThePage", road, {}, {}, {}, {}, help},
      {"BaseGetsASlash", "http://w.example/doku.php/en:ts:roads:start", {base}},
      {"BaseWithSlash", "http://w.example/doku.php/en:ts:roads:start",
       {user("Help BaseUrl", "http://w.example/")}},
      {"EmptyBase", "/doku.php/en:ts:roads:start", {user("Help BaseUrl", "")}},
      {"SettingsVerbatim", "h/%s%n\"\xe9/doku.php/%d\xe9:a b:roads:start",
       {user("Help BaseUrl", "h/%s%n\"\xe9"), user("Help LanguageCode", "%d\xe9"),
        user("Help Platform", "a b")}},
      {"LanguageSettingFirst", defaultWiki("de:ts:roads:start"), {german}, noChm, nb},
      {"ExceptionLanguage", defaultWiki("no:ts:roads:start"), {}, noChm, nb},
      {"ExceptionLanguageForHelp", defaultWiki("no:ts:roads:start"), {}, noChm, nb, {}, help},
      {"MappingWithoutException", defaultWiki("nb:ts:roads:start"), {}, "RAIL;NOR=no;\n", nb},
      {"EmptyLanguageSetting", defaultWiki("nb:ts:roads:start"),
       {user("Help LanguageCode", "")}, {}, nb},
      {"MappingWithoutMatch", road, {}, {}, "DAN=da\n"},
      {"MappingToNothing", road, {}, {}, "NOR=\n"},
      {"OnlyIgnoresExceptionLanguage", defaultWiki("nb:ts:roads:start"), {}, noChm, nb, {},
       wikiOnly},
      {"OnlyIgnoresChmException", road, {}, chm, {}, {}, wikiOnly},
      {"OnlyIgnoresUseChm", road, {useChm}, {}, {}, {}, wikiOnly},
      {"UseChmTwoIsNoSwitch", road, {user("Use CHM Help", 2u)}},
      {"UserPlatform", defaultWiki("en:civil:roads:start"), {user("Help Platform", "civil"), rail}},
      {"UserKeyWithoutPlatform", road, {rail}},
      {"EmptyUserPlatform", defaultWiki("en::roads:start"), {user("Help Platform", "")}},
      {"MachinePlatform", defaultWiki("en:rail:roads:start"), {rail}, {}, {}, {}, wiki, 100,
       kRoadTopics, false},
      {"MachineKeyWithoutPlatform", road, {machine("Help LanguageCode", "de")}, {}, {}, {}, wiki,
       100, kRoadTopics, false},
      {"Layout19", "http://n.example/doku.php/en:p19:roads:start",
       {layout19, base, {kHKCU, kKernel1901, "Help BaseUrl", std::string("http://n.example")},
        {kHKCU, kKernel1901, "Help Platform", std::string("p19")}}},
      {"Layout19MachinePlatform", defaultWiki("en:m19:roads:start"),
       {layout19, user("Help Platform", "p18"),
        {kHKLM, kKernel1901, "Help Platform", std::string("m19")}}},
      {"PageBlanksRemovedOddBytesKept", defaultWiki("en:ts:roads:my%spage\"\xe9"), {}, {}, {}, {},
       wiki, 100, "100; roads : my%s page\"\xe9 ;\n"},
      {"UseChmFirstTopicOfTheLine", "NOR\\roadhelp.chm 15 20", {useChm}},
      {"ChmExceptionDespiteLanguageSetting", "NOR\\roadhelp.chm 15 20", {german}, chm},
      {"ChmExceptionForHelp", "NOR\\roadhelp.chm 15 21", {}, chm, {}, {}, help},
      {"NegativeFirstTopic", "NOR\\roadhelp.chm 15 -5", {useChm}, {}, {}, {}, wiki, 101, topics},
      {"DomainDefaultContents", "NOR\\roaddefault.chm 1 0", {useChm}, {}, {}, roadDefaults, wiki,
       5},
      {"DomainDefaultBlanksAndCase", "NOR\\roaddefault.chm 1 0", {}, chm, {},
       " road ; road default ;\n", wiki, 5},
      // An empty help name, looked for and not found.
      {"NoDefaultForTheDomain", "Eng\\.chm 1 0", {useChm}, {}, {}, "RAIL;railhelp;\n", wiki, 5},
      {"NoDefaultsFile", "Eng\\.chm 1 0", {useChm}, {}, {}, {}, wiki, 5},
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
    if (const auto* text = std::get_if<std::string>(&s.value)) {
      fake::setString(s.root, s.key, s.name, *text);
    } else {
      fake::setDword(s.root, s.key, s.name, std::get<std::uint32_t>(s.value));
    }
  }
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  writeHelp("WikiCfg/topics.cfg", c.topics);
  const std::pair<const char*, const std::optional<std::string>&> files[] = {
      {"Tessaline_Wiki_Exeptions.cfg", c.exceptions},
      {"Tessaline_Wiki_Help_Language_Mapping.cfg", c.mapping},
      {"Tessaline_Help_Defaults.cfg", c.defaults}};
  for (const auto& [file, content] : files) {
    if (content) {
      writeHelp(file, *content);
    }
  }
  installChm("NOR", "roadhelp", {20, 21, -5});
  installChm("NOR", "roaddefault");

  c.entry == Entry::wiki       ? TsEnWikiHelp(c.topic)
  : c.entry == Entry::wikiOnly ? TsEnWikiHelpOnly(c.topic)
                               : TsEnHelp(21, "roadhelp");
  if (c.expected.find(".chm ") == std::string::npos) {
    EXPECT_EQ(fake::shellOpens(), std::vector{c.expected});
    EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
    EXPECT_EQ(boxes(), std::vector<std::string>{});
  } else {
    EXPECT_EQ(fake::shellOpens(), std::vector<std::string>{});
    EXPECT_EQ(viewerCalls(), std::vector{app.library() + "\\Help\\" + c.expected});
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, WikiAddress, ::testing::ValuesIn(addressCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// With TSEN_DRY_RUN set, what the library would show or open is described on
// standard output and nothing reaches the system; an empty value is no dry run.
TEST_F(HelpEntryTest, DryRunDescribesInsteadOfShowingOrOpening) {
  ::setenv("TSEN_DRY_RUN", "1", 1);
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(TsEnFileExist(app.library("missing.txt"), true));
  TsEnWikiHelp(5);
  TsEnHelp(0, "roadhelp");
  const std::string printed = ::testing::internal::GetCapturedStdout();
  const fake::CallCounts calls = fake::calls();
  EXPECT_EQ(calls.messageBox + calls.shellOpen + calls.htmlHelp, 0);
  for (const std::string& line :
       {"message box: Tessaline: Unable to find the file \"" + app.library("missing.txt") +
            "\" !\n",
        "open address: " + defaultWiki("en:ts:start\n"),
        std::string("message box: Tessaline help: Unable to find help file"),
        "open help: " + chm("Eng", "roadhelp") + " 1 0\n"}) {
    EXPECT_NE(printed.find(line), std::string::npos) << line << " in " << printed;
  }
  ::setenv("TSEN_DRY_RUN", "", 1);
  TsEnWikiHelp(5);
  ::unsetenv("TSEN_DRY_RUN");
  EXPECT_EQ(fake::shellOpens().size(), 1u);
}

} // namespace
} // namespace tsen::testing
