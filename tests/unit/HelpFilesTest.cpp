// The help configuration files and the topic files; CR LF reads as LF.
#include "FakeSystemTest.h"
#include "help/HelpInternal.h"

namespace tsen::testing {
namespace {

using namespace help;

using HelpFilesTest = FakeSystemTest;

std::string readDefault(const std::string& key) {
  std::string value = "-";
  help::ReadHelpDefault(key, value);
  return value;
}

TEST_F(HelpFilesTest, DefaultsTakeTheFirstLineWithAValueForTheKey) {
  EXPECT_EQ(readDefault("ROAD"), "-") << "no file";
  const struct {
    std::string content, key, expected;
  } cases[] = {
      {"\t Road\t; road\t/help ;more;\n", "road", "road/help"},
      {"ROAD;\xA0h\v\f;\n", "ROAD", "\xA0h\v\f"},
      {"ROAD;//help;\n", "ROAD", "-"},
      {"ROAD;road\nROAD;  ;\nROAD help\nROADS;x;\nROAD;second;\n", "ROAD", "second"},
      // Only a to z fold: the bytes 0xE4 and 0xC4 stay different letters.
      {"R\xE4\x44;h;\n", "R\xC4\x44", "-"},
  };
  for (const auto& c : cases) {
    writeHelp("Tessaline_Help_Defaults.cfg", c.content);
    EXPECT_EQ(readDefault(c.key), c.expected) << c.content << " for " << c.key;
  }
}

std::pair<int, std::string> readException(const std::string& domain, std::string language) {
  const int result = help::ReadWikiException(domain, language);
  return {result, language};
}

TEST_F(HelpFilesTest, ExceptionsTakeTheFirstLineOfTheDomain) {
  using Answer = std::pair<int, std::string>;
  EXPECT_EQ(readException("ROAD", "NOR"), Answer(ExceptionNone, "NOR")) << "no file";
  const struct {
    std::string content, domain, language;
    Answer answer;
  } cases[] = {
      {"ROAD;DAN=da;NOR=cHm\n", "Road", "nor", {ExceptionUseChm, "nor"}},
      {"ROAD;NOR=CHMX;\n", "ROAD", "NOR", {ExceptionLanguage, "CHMX"}},
      // At the line's end a value may be shorter than two characters.
      {"ROAD;NOR=\r\n", "ROAD", "NOR", {ExceptionLanguage, ""}},
      {"  road\t;NOR= no ;\n", "ROAD", "NOR", {ExceptionLanguage, " no "}},
      {"ROAD;DAN=da;\nROAD;NOR=no;\n", "ROAD", "NOR", {ExceptionNone, "NOR"}},
      {"ROAD;XNOR=no;\n", "ROAD", "NOR", {ExceptionLanguage, "no"}},
  };
  for (const auto& c : cases) {
    writeHelp("Tessaline_Wiki_Exeptions.cfg", c.content);
    EXPECT_EQ(readException(c.domain, c.language), c.answer)
        << c.content << " for " << c.domain << "/" << c.language;
  }
  // "Use CHM Help" 1 in the layout in force, and only 1, stands for every line.
  setLayout19(true);
  fake::setDword(kHKCU, kKernel1840, "Use CHM Help", 1);
  EXPECT_EQ(readException("ROAD", "NOR"), Answer(ExceptionLanguage, "no"));
  fake::setDword(kHKCU, kKernel1901, "Use CHM Help", 1);
  EXPECT_EQ(readException("ROAD", "NOR"), Answer(ExceptionUseChm, "NOR"));
  fake::setDword(kHKCU, kKernel1901, "Use CHM Help", 2);
  EXPECT_EQ(readException("ROAD", "NOR"), Answer(ExceptionLanguage, "no"));
}

TEST_F(HelpFilesTest, MappingTakesTheFirstLineOfTheLanguageCode) {
  fake::setString(kHKCU, kKernel1840, "Language", "nor"); // kept once read
  EXPECT_EQ(help::ReadWikiLanguageMapping(), "") << "no file";
  const struct {
    std::string content, expected;
  } cases[] = {
      {"DAN=da\n\tn O r\t=\tn o//Norwegian\nNOR=nb\n", "no"},
      {"NORX=no\nXNOR=no\nNOR no\n//NOR=no\n", "en"},
      {"NOR=" + std::string(1023, 'x') + "tail\r\n", std::string(1019, 'x')},
      // A line whose CR LF straddles the 1023rd character reads as one piece.
      {"NOR=no" + std::string(1016, ' ') + "\r\nDAN=da\r\n", "no"},
  };
  for (const auto& c : cases) {
    writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", c.content);
    EXPECT_EQ(help::ReadWikiLanguageMapping(), c.expected)
        << c.content.substr(0, 40) << " of " << c.content.size();
  }
}

// The three readers' "wiki page|help page|topic/name"; nothing found touches no output.
std::string readTopic(int topic, const std::string& helpName, const std::string& path) {
  std::string wiki = "-", help = "-", name = "-";
  int helpTopic = -777;
  const bool foundWiki = help::ReadWikiPageFromFile(topic, path, wiki);
  const bool foundHelp = help::ReadHelpPageFromFile(topic, helpName, path, help);
  const bool foundTopic = help::ReadCompiledTopicFromFile(topic, helpTopic, name, path);
  EXPECT_TRUE((foundWiki || wiki == "-") && (foundHelp || help == "-") &&
              (foundTopic || (helpTopic == -777 && name == "-")));
  return (foundWiki ? wiki : "") + "|" + (foundHelp ? help : "") + "|" +
         (foundTopic ? std::to_string(helpTopic) + "/" + name : "");
}
std::string compiled(int topic) {
  int helpTopic = 0;
  std::string helpName;
  return help::FindCompiledHelpTopic(topic, helpTopic, helpName)
             ? std::to_string(helpTopic) + "/" + helpName
             : "";
}

// "topic;wiki page;help topics;help name;"
TEST_F(HelpFilesTest, EachTopicFileReaderTakesTheFirstLineThatFitsIt) {
  const std::string roads = "100;roads:start;20,21;roadhelp;\n";
  const struct {
    std::string content;
    int topic;
    std::string helpName, expected;
  } cases[] = {
      {"1\t00; roads : start ;\n", 100, "h", "roads:start||"},
      {roads, 100, "roadhelp", "roads:start||20/roadhelp"},
      {roads, 21, "RoadHelp", "|roads:start|"},
      {"100;;20;h;\n100;later;30;g;\n", 100, "h", "later||30/g"},
      {"-3;p;-3,-30;h;\n", -30, "h", "|p|"},
      {"12abc;p;x20;h;\n", 12, "h", "p||0/h"},
      {"100;p;;h;\n100;p;20;;\n100;p;20\n", 100, "h", "p||"},
      {"100;p;20;h\r\n", 20, "H", "|p|"},
      {"100;p;020,+21, 2 2 ;h;\n", 22, "h", "|p|"},
      {"100;a/\t/b;20;x;\n//100;q;\n", 20, "x", "|a//b|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readTopic(c.topic, c.helpName, writeHelp("WikiCfg/t.cfg", c.content)), c.expected)
        << c.content << " topic " << c.topic << " in " << c.helpName;
  }
  std::filesystem::create_directories(app.path() / "Help/WikiCfg/folder.cfg");
  for (const char* name : {"WikiCfg\\missing.cfg", "WikiCfg\\folder.cfg"}) {
    EXPECT_EQ(readTopic(0, "", app.library("Help\\" + std::string(name))), "||") << name;
  }
}

TEST_F(HelpFilesTest, TheDomainFolderComesFirstExceptForCompiledHelp) {
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  EXPECT_EQ(help::FindWikiPage(100) + help::FindWikiPageForHelp(20, "h") + compiled(100), "")
      << "no topic folder";
  writeHelp("WikiCfg/ROAD/a.cfg", "100;domain;20;dh;\n");
  writeHelp("WikiCfg/common.cfg", "100;common;20;ch;\n200;common200;30;ch;\n");
  EXPECT_EQ(help::FindWikiPage(100) + "|" + help::FindWikiPage(200) + "|" +
                help::FindWikiPageForHelp(20, "DH") + "|" + help::FindWikiPageForHelp(20, "ch") +
                "|" + help::FindWikiPageForHelp(21, "ch") + "|" + compiled(100) + compiled(300),
            "domain|common200|domain|common||20/ch");
}

} // namespace
} // namespace tsen::testing
