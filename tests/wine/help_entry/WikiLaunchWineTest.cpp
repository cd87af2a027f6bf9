// The wiki launch through the DLL: addresses opened by the real shell for a
// scheme of the tests' own, the exact address the DLL hands the shell, and
// the messages when the shell or compiled help fails.
#include "HelpEntryWine.h"

#include <shellapi.h>

#include <climits>

namespace tsen::testing {
namespace {

// The wiki the DLL opens when no address is configured, as built.
constexpr std::string_view kDefaultBase = TSEN_TEST_HELP_BASE_URL;
constexpr std::string_view kRoadTopics = "100;roads:start;20,21;roadhelp;\n";

// ---- The DLL's shell call, recorded instead of made --------------------------

std::vector<std::string>& shellCalls() {
  static std::vector<std::string> calls;
  return calls;
}
INT_PTR shellAnswer = 42;

const char* orNull(const char* text) {
  return text ? text : "(null)";
}
HINSTANCE WINAPI recordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                             INT show) {
  shellCalls().push_back(std::string(owner ? "owned " : "") + orNull(verb) + "|" + orNull(file) +
                         "|" + orNull(parameters) + "|" + orNull(folder) + "|" +
                         std::to_string(show));
  return reinterpret_cast<HINSTANCE>(shellAnswer);
}
// The call the DLL must make to open address.
std::string opening(const std::string& address) {
  return "open|" + address + "|(null)|(null)|1";
}

class WikiLaunchWine : public HelpEntryWine {
protected:
  void SetUp() override {
    HelpEntryWine::SetUp();
    app.writeHelp("WikiCfg\\topics.cfg", kRoadTopics);
  }
};

class RecordedShell : public WikiLaunchWine {
protected:
  void SetUp() override {
    WikiLaunchWine::SetUp();
    ASSERT_TRUE(shellSwap_.swapped());
  }

private:
  ImportSwap<decltype(ShellExecuteA)> shellSwap_{environmentDll(), "shell32.dll", "ShellExecuteA",
                                                 recordShell};
};

// ---- Through the real shell --------------------------------------------------------

TEST_F(WikiLaunchWine, TheShellOpensTheComposedAddress) {
  const RecordedScheme scheme("tsenwikitest", scratch.below("address.txt"));
  setKernelString("Help BaseUrl", "tsenwikitest://wiki.test");
  TsEnWikiHelp(100);
  TsEnHelp(21, "RoadHelp");
  TsEnWikiHelpOnly(5);
  const std::string wiki = "tsenwikitest://wiki.test/doku.php/en:ts:";
  EXPECT_EQ(scheme.recorded(3),
            (std::vector{wiki + "roads:start", wiki + "roads:start", wiki + "start"}));
  EXPECT_EQ(shownBoxes(), std::vector<std::string>{});
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
}

TEST_F(WikiLaunchWine, AnAddressTheShellCannotOpenIsToldOnce) {
  // A compiled help file the viewer would show: a page found is never
  // offered to compiled help, even when its launch fails.
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  showInViewer({"15 21 " + chm("NOR", "RoadHelp")});
  for (const char* base : {"tsennohandler://wiki.test", "", "wiki.test"}) {
    shownBoxes().clear();
    setKernelString("Help BaseUrl", base);
    TsEnWikiHelp(100);
    TsEnHelp(21, "RoadHelp");
    EXPECT_EQ(shownBoxes(), (std::vector{kShellFailedBox, kShellFailedBox})) << base;
  }
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
}

// ---- The address as handed to the shell ------------------------------------------

struct AddressCase {
  const char* name;
  std::vector<std::pair<const char*, std::string>> settings;
  std::string topics;
  int topic;
  std::string expected;
  const char* exceptions = nullptr;
  const char* mapping = nullptr;
  friend void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<AddressCase>& addressCases() {
  const std::string road = std::string(kRoadTopics);
  const std::string extremes = "-2147483648;lowest;\n2147483647;highest;\n";
  const std::string longBase = "x://" + std::string(2000, 'h');
  // clang-format off
  static const std::vector<AddressCase> cases{
      {"Defaults", {}, "", 5, std::string(kDefaultBase) + "/doku.php/en:ts:start"},
      {"DefaultBaseWithPage", {}, road, 100, std::string(kDefaultBase) + "/doku.php/en:ts:roads:start"},
      {"BaseGetsOneSlash", {{"Help BaseUrl", "x://w"}}, road, 100, "x://w/doku.php/en:ts:roads:start"},
      {"BaseWithSlash", {{"Help BaseUrl", "x://w/"}}, road, 100, "x://w/doku.php/en:ts:roads:start"},
      {"EmptyBase", {{"Help BaseUrl", ""}}, road, 100, "/doku.php/en:ts:roads:start"},
      {"BaseWithoutScheme", {{"Help BaseUrl", "wiki.test"}}, road, 100, "wiki.test/doku.php/en:ts:roads:start"},
      {"LongBaseWhole", {{"Help BaseUrl", longBase}}, road, 100, longBase + "/doku.php/en:ts:roads:start"},
      {"OddBytesVerbatim",
       {{"Help BaseUrl", "h/%s%n\"\xE9"}, {"Help LanguageCode", "%d\xE9"}, {"Help Platform", "a b"}},
       "100; roads : my%s page\"\xE9 ;\n", 100, "h/%s%n\"\xE9/doku.php/%d\xE9:a b:roads:my%spage\"\xE9"},
      {"LowestTopic", {}, extremes, INT_MIN, std::string(kDefaultBase) + "/doku.php/en:ts:lowest"},
      {"HighestTopic", {}, extremes, INT_MAX, std::string(kDefaultBase) + "/doku.php/en:ts:highest"},
      {"ExceptionLanguage", {{"Help BaseUrl", "x://w"}}, road, 100, "x://w/doku.php/no:ts:roads:start",
       "road;NOR=no;\n", "NOR=nb\n"},
      {"MappedLanguage", {{"Help BaseUrl", "x://w"}}, road, 100, "x://w/doku.php/nb:ts:roads:start",
       "RAIL;NOR=no;\n", "NOR=nb\n"},
      {"LanguageSettingFirst", {{"Help BaseUrl", "x://w"}, {"Help LanguageCode", "de"}}, road, 100,
       "x://w/doku.php/de:ts:roads:start", "ROAD;NOR=no;\n", "NOR=nb\n"},
  };
  // clang-format on
  return cases;
}

class WikiAddressWine : public RecordedShell, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(WikiAddressWine, IsHandedToTheShellVerbatim) {
  const AddressCase& c = GetParam();
  for (const auto& [name, value] : c.settings) {
    setKernelString(name, value);
  }
  app.writeHelp("WikiCfg\\topics.cfg", c.topics, true);
  if (c.exceptions) {
    app.writeHelp("Tessaline_Wiki_Exeptions.cfg", c.exceptions, true);
  }
  if (c.mapping) {
    app.writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", c.mapping, true);
  }
  setActiveDomain("ROAD");
  TsEnWikiHelp(c.topic);
  EXPECT_EQ(shellCalls(), std::vector{opening(c.expected)});
  EXPECT_EQ(shownBoxes(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Settings, WikiAddressWine, ::testing::ValuesIn(addressCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordedShell, AnswersOf32OrLessAreFailures) {
  for (const INT_PTR answer : {0, 2, 31, 32, 33, 42}) {
    shellAnswer = answer;
    shownBoxes().clear();
    TsEnWikiHelp(100);
    EXPECT_EQ(shownBoxes(),
              answer <= 32 ? std::vector{kShellFailedBox} : std::vector<std::string>{})
        << answer;
  }
}

// Compiled help chosen by the wiki entries, then a failed wiki launch: each
// message with its own caption and style, in the order they arose.
TEST_F(RecordedShell, MessagesOfBothRoadsComeInOrder) {
  setKernelString("Help BaseUrl", "x://w");
  writeRaw(HKEY_CURRENT_USER, kKernel1840, "Use CHM Help", REG_DWORD, dwordBytes(1));
  const std::string localized = chm("NOR", "roadhelp"), english = chm("Eng", "roadhelp");
  TsEnWikiHelp(100); // the topic file names topic 20 of roadhelp
  TsEnWikiHelp(300); // in no topic file, no default: the contents of no name
  shellAnswer = 2;
  TsEnWikiHelpOnly(100);
  EXPECT_EQ(viewerCalls(),
            (std::vector{"15 20 " + english, "1 0 " + english, "1 0 " + chm("Eng", "")}));
  EXPECT_EQ(shownBoxes(),
            (std::vector{helpBox(fileMissingText(localized, english)),
                         helpBox(topicMissingText(20, english)), helpBox(viewerFailedText(english)),
                         helpBox(fileMissingText(chm("NOR", ""), chm("Eng", ""))),
                         helpBox(viewerFailedText(chm("Eng", ""))), kShellFailedBox}));
  EXPECT_EQ(shellCalls(), std::vector{opening("x://w/doku.php/en:ts:roads:start")});
}

} // namespace
} // namespace tsen::testing
