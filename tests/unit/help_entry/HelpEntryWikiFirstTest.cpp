// TsEnHelp offers a request to the wiki first: a topic file line for the help
// name and topic opens its page and nothing else, even when the launch fails.
#include "HelpEntryFixture.h"

namespace tsen::testing {
namespace {

constexpr std::string_view kTopics = "100;roads:start;20,21;roadhelp;\n"
                                     "101; bridges : deck ;-5,30;road help;\n"
                                     "102;odd%s\"page\xe9;7;%n\xe9;\n";

struct WikiFirstCase {
  const char* name;
  int topic;
  std::string helpName;
  const char* page; // null: the compiled help file
  friend void PrintTo(const WikiFirstCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<WikiFirstCase>& wikiFirstCases() {
  static const std::vector<WikiFirstCase> cases{
      {"ListedTopic", 21, "RoadHelp", "roads:start"},
      {"FirstOfTheList", 20, "roadhelp", "roads:start"},
      {"PartOfAListedTopic", 2, "roadhelp", nullptr},
      {"LineTopicIsNoHelpTopic", 100, "roadhelp", nullptr},
      {"NegativeTopicAndBlanksRemovedInTheFile", -5, "ROADHELP", "bridges:deck"},
      {"BlanksInTheRequestStay", -5, "road help", nullptr},
      {"PercentQuoteAndHighBytesVerbatim", 7, "%N\xe9", "odd%s\"page\xe9"},
      {"HighBytesAreNotFolded", 7, "%n\xc9", nullptr},
      {"EmptyHelpName", 21, "", nullptr},
  };
  return cases;
}

class WikiFirst : public HelpEntryTest, public ::testing::WithParamInterface<WikiFirstCase> {};

TEST_P(WikiFirst, ATopicFileLineOpensTheWikiInsteadOfTheFile) {
  const WikiFirstCase& c = GetParam();
  setLanguage("NOR");
  writeHelp("WikiCfg/topics.cfg", kTopics);

  TsEnHelp(c.topic, c.helpName);

  if (c.page != nullptr) {
    EXPECT_EQ(fake::shellOpens(), std::vector{defaultWiki(std::string("en:ts:") + c.page)});
    EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
    EXPECT_EQ(boxes(), std::vector<std::string>{});
  } else {
    EXPECT_EQ(fake::shellOpens(), std::vector<std::string>{});
    ASSERT_FALSE(fake::helpCalls().empty()); // nothing installed: the English name
    EXPECT_EQ(viewerCalls().front(),
              viewerLine(chm("Eng", c.helpName), platform::kHhHelpContext, c.topic));
  }
}

INSTANTIATE_TEST_SUITE_P(Requests, WikiFirst, ::testing::ValuesIn(wikiFirstCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Above 32 the shell succeeded; every failed launch is told once and ends
// the request, without compiled help.
class ShellAnswer : public HelpEntryTest, public ::testing::WithParamInterface<std::intptr_t> {};

TEST_P(ShellAnswer, AFailedLaunchIsToldOnceAndEndsTheRequest) {
  const std::intptr_t answer = GetParam();
  setLanguage("NOR");
  writeHelp("WikiCfg/topics.cfg", kTopics);
  installChm("NOR", "RoadHelp", {21});
  fake::setShellResult(answer);

  TsEnHelp(21, "RoadHelp");
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(100);

  EXPECT_EQ(fake::shellOpens().size(), 3u);
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
  EXPECT_EQ(boxes(), answer > 32 ? std::vector<std::string>{}
                                 : std::vector<std::string>(3, kShellFailedBox));
}

INSTANTIATE_TEST_SUITE_P(Answers, ShellAnswer,
                         ::testing::Values(-1, 0, 2, 31, 32, 33, 42, INTPTR_MAX));

} // namespace
} // namespace tsen::testing
