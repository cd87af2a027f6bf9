// When the settings choose compiled help, TsEnWikiHelp opens the first help
// topic of the topic's line, or else the contents of the domain's default file.
#include "HelpEntryFixture.h"

#include <optional>

namespace tsen::testing {
namespace {

struct Shown {
  const char* folder;
  const char* helpName;
  unsigned command;
  std::intptr_t data;
};

struct ChmCase {
  const char* name;
  int topic;
  std::optional<std::string> defaults;
  std::vector<Shown> shown; // empty: no file for the domain, which is told
  bool byException = false; // else by "Use CHM Help"
  friend void PrintTo(const ChmCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<ChmCase>& chmCases() {
  constexpr unsigned kToc = platform::kHhDisplayToc, kTopic = platform::kHhHelpContext;
  static const std::vector<ChmCase> cases{
      {"FirstTopicOfTheLine", 100, {}, {{"NOR", "roadhelp", kTopic, 20}}},
      {"FirstTopicOfTheLineByException", 100, {}, {{"NOR", "roadhelp", kTopic, 20}}, true},
      {"NegativeFirstTopic", 101, {}, {{"NOR", "roadhelp", kTopic, -5}}},
      {"DomainDefaultContents",
       5,
       "RAIL;railhelp;\nROAD;roaddefault;\n",
       {{"NOR", "roaddefault", kToc, 0}}},
      {"DomainDefaultBlanksAndCase",
       5,
       " road ; road default ;\n",
       {{"NOR", "roaddefault", kToc, 0}}},
      {"NoDefaultForTheDomain", 5, "RAIL;railhelp;\n", {}},
      {"NoDefaultsFile", 5, {}, {}},
  };
  return cases;
}

class ChmChoice : public HelpEntryTest, public ::testing::WithParamInterface<ChmCase> {};

TEST_P(ChmChoice, OpensTheTopicFilesOrTheDomainsHelp) {
  const ChmCase& c = GetParam();
  setLanguage("NOR");
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  if (c.byException) {
    writeHelp("Tessaline_Wiki_Exeptions.cfg", "ROAD;NOR=chm;\n");
  } else {
    fake::setDword(kHKCU, kKernel1840, "Use CHM Help", 1);
  }
  writeHelp("WikiCfg/topics.cfg", "100;roads:start;20,21;roadhelp;\n101;b:d;-5,30;roadhelp;\n");
  if (c.defaults) {
    writeHelp("Tessaline_Help_Defaults.cfg", *c.defaults);
  }
  installChm("NOR", "roadhelp", {20, -5});
  installChm("NOR", "roaddefault");

  TsEnWikiHelp(c.topic);

  std::vector<std::string> calls, told;
  for (const Shown& s : c.shown) {
    calls.push_back(viewerLine(chm(s.folder, s.helpName), s.command, s.data));
  }
  if (c.shown.empty()) { // an empty help name, looked for and not found
    calls.push_back(viewerLine(chm("Eng", ""), platform::kHhDisplayToc, 0));
    told = {helpBox(fileMissingText(chm("NOR", ""), chm("Eng", ""))),
            helpBox(viewerFailedText(chm("Eng", "")))};
  }
  EXPECT_EQ(viewerCalls(), calls);
  EXPECT_EQ(boxes(), told);
  EXPECT_EQ(fake::shellOpens(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Requests, ChmChoice, ::testing::ValuesIn(chmCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tsen::testing
