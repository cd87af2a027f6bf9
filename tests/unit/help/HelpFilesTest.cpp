// The help configuration files (defaults, exceptions, language mapping) and
// the topic files, written into a scratch application folder. Every table
// runs with LF and with CR LF line ends.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"
#include "help/HelpInternal.h"

#include <climits>

namespace tsen::testing {
namespace {

using help::ExceptionLanguage;
using help::ExceptionNone;
using help::ExceptionUseChm;

constexpr const char* kMapping = "Tessaline_Wiki_Help_Language_Mapping.cfg";
constexpr const char* kExceptions = "Tessaline_Wiki_Exeptions.cfg";

class HelpFilesTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(app.library());
  }
  // Writes <app>\Help\<relative>, with CR LF line ends when crlf is set;
  // answers its path written the library's way.
  std::string writeHelp(const std::string& relative, std::string_view content,
                        bool crlf = false) const {
    std::string text;
    for (const char c : content) {
      text += crlf && c == '\n' ? "\r\n" : std::string(1, c);
    }
    return backslashed(app.write("Help/" + relative, text));
  }
  std::filesystem::path help(const std::string& relative) const {
    return app.path() / "Help" / relative;
  }
  static void setLanguageCode(std::string_view code) {
    fake::setString(kHKCU, kKernel1840, "Language", code);
  }

  ScratchFolder app;
};

// The value read for key; "-" when the reader left it alone.
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
      {"ROAD; road help ;\n", "road", "roadhelp"},
      {"\t Road\t;\th\t;more;\n", "ROAD", "h"},
      // Only the blank is trimmed; other white space is text.
      {"ROAD;\xA0h\v\f;\n", "ROAD", "\xA0h\v\f"},
      {"ROAD;first;\nROAD;second;\n", "ROAD", "first"},
      {"ROAD;help;//note\n", "ROAD", "help"},
      {"ROAD;//help;\n", "ROAD", "-"},
      {"ROAD;a/b;\n", "ROAD", "a/b"},
      // A line that gives no value lets a later line of the key serve.
      {"ROAD;road\nROAD;;\nROAD;  ;\nROAD;\nROAD help\nROAD;second;\n", "ROAD", "second"},
      // Keys are compared whole, folding a to z only.
      {"ROADS;h;\nROAD;x;\n", "ROAD", "x"},
      {"ROAD;h;\n", "ROADS", "-"},
      {"R\xE4\x44;h;\n", "R\xC4\x44", "-"},
      {"R\xE4\x44;h;\n", "r\xE4\x64", "h"},
      {";h;\n", "", "h"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      writeHelp("Tessaline_Help_Defaults.cfg", c.content, crlf);
      EXPECT_EQ(readDefault(c.key), c.expected) << crlf << " " << c.content << " for " << c.key;
    }
  }
}

// The result, and the language as the reader leaves it.
std::pair<int, std::string> readException(const std::string& domain, std::string language) {
  const int result = help::ReadWikiException(domain, language);
  return {result, language};
}

TEST_F(HelpFilesTest, ExceptionsTakeTheFirstLineOfTheDomain) {
  const std::string longValue(700, 'v');
  const struct {
    std::string content, domain, language;
    int result;
    std::string languageAfter;
  } cases[] = {
      {"ROAD;NOR=CHM;\n", "road", "nor", ExceptionUseChm, "nor"},
      {"ROAD;DAN=da;NOR=cHm\n", "Road", "NOR", ExceptionUseChm, "NOR"},
      {"ROAD;NOR=CHMX;\n", "ROAD", "NOR", ExceptionLanguage, "CHMX"},
      {"ROAD;NOR=CHM;DAN=da;\n", "road", "dan", ExceptionLanguage, "da"},
      {"ROAD;NOR=no;\n", "ROAD", "DAN", ExceptionNone, "DAN"},
      // The code is searched in upper case, in the line as written, anywhere.
      {"ROAD;nor=no;\n", "ROAD", "nor", ExceptionNone, "nor"},
      {"ROAD;XNOR=no;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      // Closed by ";", a value needs two characters; at the line's end any length.
      {"ROAD;NOR=n;\n", "ROAD", "NOR", ExceptionNone, "NOR"},
      {"ROAD;NOR=\n", "ROAD", "NOR", ExceptionLanguage, ""},
      {"ROAD;NOR=" + longValue + "\n", "ROAD", "NOR", ExceptionLanguage, longValue},
      {"ROAD;NOR=no//;DAN=da;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      // The line loses the blanks at its ends, the domain those at its own.
      {"  road\t;NOR= no ;\n", "ROAD", "NOR", ExceptionLanguage, " no "},
      // The first line of the domain ends the search, usable or not.
      {"ROAD;DAN=da;\nROAD;NOR=no;\n", "ROAD", "NOR", ExceptionNone, "NOR"},
      {"ROAD NOR=CHM\nROADS;NOR=CHM;\nROAD;NOR=no;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      {";NOR=no;\n", "", "NOR", ExceptionLanguage, "no"},
      // Only a to z fold: the bytes 0xE4 and 0xC4 stay different letters.
      {"R\xE4\x44;NOR=no;\n", "r\xC4\x64", "NOR", ExceptionNone, "NOR"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      writeHelp(kExceptions, c.content, crlf);
      EXPECT_EQ(readException(c.domain, c.language), std::pair(c.result, c.languageAfter))
          << crlf << " " << c.content << " for " << c.domain << "/" << c.language;
    }
  }
}

TEST_F(HelpFilesTest, UseChmHelpSetToOneInTheLayoutInForceShortCutsTheExceptions) {
  const auto dword = [](unsigned char n) {
    return fake::RegistryValue{platform::kRegDword, {n, 0, 0, 0}};
  };
  const struct {
    std::optional<fake::RegistryValue> setting;
    bool withFile;
    int result;
  } cases[] = {
      {dword(1), false, ExceptionUseChm},
      {dword(1), true, ExceptionUseChm},
      {dword(2), true, ExceptionLanguage},
      {std::nullopt, true, ExceptionLanguage},
      {std::nullopt, false, ExceptionNone},
      // The text "1" is not the number 1.
      {fake::RegistryValue{platform::kRegSz, {'1', 0}}, true, ExceptionLanguage},
  };
  setLayout19(true);
  fake::setDword(kHKCU, kKernel1840, "Use CHM Help", 1); // not the layout in force
  for (const auto& c : cases) {
    fake::removeValue(kHKCU, kKernel1901, "Use CHM Help");
    if (c.setting) {
      fake::setValue(kHKCU, kKernel1901, "Use CHM Help", *c.setting);
    }
    std::filesystem::remove(help(kExceptions));
    if (c.withFile) {
      writeHelp(kExceptions, "ROAD;NOR=no;\n");
    }
    EXPECT_EQ(readException("ROAD", "NOR"),
              std::pair(c.result, std::string(c.result == ExceptionLanguage ? "no" : "NOR")))
        << "with file " << c.withFile;
  }
  // A folder in the file's place does not open.
  std::filesystem::remove(help(kExceptions));
  std::filesystem::create_directories(help(kExceptions));
  fake::removeValue(kHKCU, kKernel1901, "Use CHM Help");
  EXPECT_EQ(readException("ROAD", "NOR").first, ExceptionNone);
}

TEST_F(HelpFilesTest, MappingTakesTheFirstLineOfTheLanguageCode) {
  setLanguageCode("nor"); // kept by the library once read
  EXPECT_EQ(help::ReadWikiLanguageMapping(), "") << "no file";
  const struct {
    std::string content, expected;
  } cases[] = {
      {"NOR = no\n", "no"},
      {"DAN=da\n\tn O r\t=\tn o//Norwegian\nNOR=nb\n", "no"},
      {"NOR==x/y\n", "=x/y"},
      // A matching line with nothing behind "=" answers empty.
      {"NOR=//no\nNOR=no\n", ""},
      // No matching line: the fallback.
      {"NORX=no\nXNOR=no\nNOR no\n=no\n//NOR=no\n", "en"},
      {"", "en"},
      // fgets hands out at most 1023 characters at a time; each piece is a
      // line, blanks and comments included.
      {"X=" + std::string(1021, 'x') + "NOR=no\n", "no"},
      {"NOR=" + std::string(1023, 'x') + "tail\n", std::string(1019, 'x')},
      {"//" + std::string(1021, ' ') + "NOR=no\n", "no"},
      {"NOR" + std::string(1020, ' ') + "=no\n", "en"},
      // Text mode folds CR LF before fgets sees it: a line whose CR LF
      // straddles the 1023rd character still reads as one piece.
      {"NOR=no" + std::string(1016, ' ') + "\nDAN=da\n", "no"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      writeHelp(kMapping, c.content, crlf);
      EXPECT_EQ(help::ReadWikiLanguageMapping(), c.expected)
          << crlf << " " << c.content.substr(0, 40) << " of " << c.content.size();
    }
  }
}

TEST_F(HelpFilesTest, MappingCodesFoldOnlyAToZ) {
  setLanguageCode("n\xE4r");
  writeHelp(kMapping, "N\xC4R=first\nN\xE4R=second\n");
  EXPECT_EQ(help::ReadWikiLanguageMapping(), "second");
}

// Each topic file reader's answer, "" when it finds nothing (and then must
// leave its outputs alone); the compiled help topic written "topic/name".
std::string wikiPage(int topic, const std::string& path) {
  std::string page = "-";
  const bool found = help::ReadWikiPageFromFile(topic, path, page);
  EXPECT_TRUE(found || page == "-");
  return found ? page : "";
}
std::string helpPage(int topic, const std::string& helpName, const std::string& path) {
  std::string page = "-";
  const bool found = help::ReadHelpPageFromFile(topic, helpName, path, page);
  EXPECT_TRUE(found || page == "-");
  return found ? page : "";
}
std::string compiled(int topic, const std::string& path = {}) {
  int helpTopic = -777;
  std::string helpName = "-";
  const bool found = path.empty()
                         ? help::FindCompiledHelpTopic(topic, helpTopic, helpName)
                         : help::ReadCompiledTopicFromFile(topic, helpTopic, helpName, path);
  EXPECT_TRUE(found || (helpTopic == -777 && helpName == "-"));
  return found ? std::to_string(helpTopic) + "/" + helpName : "";
}

// "topic;wiki page;help topics;help name;"
TEST_F(HelpFilesTest, EachTopicFileReaderTakesTheFirstLineThatFitsIt) {
  const std::string roads = "100;roads:start;20,21;roadhelp;\n";
  const struct {
    std::string content;
    int topic;
    std::string helpName, wiki, help, compiled;
  } cases[] = {
      {"100; roads : start ;\n", 100, "h", "roads:start", "", ""},
      {roads, 100, "roadhelp", "roads:start", "", "20/roadhelp"},
      {roads, 21, "RoadHelp", "", "roads:start", ""},
      {roads, 2, "roadhelp", "", "", ""},
      {"100;p;20,21;RoadHelp;x;\n", 100, "h", "p", "", "20/RoadHelp"},
      {"99;a;1;h;\n100;b;2;g;\n100;c;3;k;\n", 100, "g", "b", "", "2/g"},
      {"100;;20;h;\n100;later;30;g;\n", 20, "h", "", "", ""},
      {"100;;20;h;\n100;later;30;g;\n", 100, "h", "later", "", "30/g"},
      // Field 1 as atol reads it; for help pages present but not compared.
      {"+5;p;+5;h;\n", 5, "h", "p", "", "5/h"},
      {"-3;p;-3,-30;h;\n", -30, "h", "", "p", ""},
      {"12abc;p;x20;h;\n", 12, "h", "p", "", "0/h"},
      {"abc;p;7;h;\n", 7, "h", "", "p", ""},
      {";p;7;h;\n", 7, "h", "", "", ""},
      {"4294967396;big;\n", INT_MAX, "h", "big", "", ""},
      {"-2147483649;min;\n", INT_MIN, "h", "min", "", ""},
      // Four fields for the help page and the compiled topic.
      {"100;p;;h;\n100;p;20;;\n100;p;20\n", 100, "h", "p", "", ""},
      {"100;p;20;h\n", 20, "H", "", "p", ""},
      {"100\n100;p\n", 100, "h", "p", "", ""},
      // List members are compared as text, help names folding a to z only.
      {"100;p;020,+21, 2 2 ;h;\n", 22, "h", "", "p", ""},
      {"100;p;20;h\xE4;\n", 20, "H\xC4", "", "", ""},
      {"100;p;20;h\xE4;\n", 20, "H\xE4", "", "p", ""},
      // Comments; a slash, a tab, a slash is none.
      {"100//;p;\n//100;q;\n", 100, "h", "", "", ""},
      {"100;a//b;20;x;\n", 100, "x", "a", "", ""},
      {"100;a/\t/b;20;x;\n", 20, "x", "", "a//b", ""},
      // The last piece of a long line is a line of its own.
      {"1;" + std::string(1021, 'p') + "5;q;\n", 5, "h", "q", "", ""},
      {"", 0, "", "", "", ""},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      const std::string path = writeHelp("WikiCfg/t.cfg", c.content, crlf);
      SCOPED_TRACE(std::to_string(crlf) + " " + c.content.substr(0, 40) + " topic " +
                   std::to_string(c.topic) + " in " + c.helpName);
      EXPECT_EQ(wikiPage(c.topic, path), c.wiki);
      EXPECT_EQ(helpPage(c.topic, c.helpName, path), c.help);
      EXPECT_EQ(compiled(c.topic, path), c.compiled);
    }
  }
  // A file that is missing or a folder is not found either.
  std::filesystem::create_directories(help("WikiCfg/folder.cfg"));
  for (const char* name : {"WikiCfg\\missing.cfg", "WikiCfg\\folder.cfg"}) {
    const std::string path = app.library("Help\\" + std::string(name));
    EXPECT_EQ(wikiPage(0, path) + helpPage(0, "", path) + compiled(0, path), "") << name;
  }
}

TEST_F(HelpFilesTest, TheDomainFolderComesFirstExceptForCompiledHelp) {
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  EXPECT_EQ(help::FindWikiPage(100) + help::FindWikiPageForHelp(20, "h") + compiled(100), "")
      << "no topic folder";
  writeHelp("WikiCfg/ROAD/a.cfg", "100;domain;20;dh;\n");
  writeHelp("WikiCfg/common.cfg", "100;common;20;ch;\n200;common200;30;ch;\n");
  EXPECT_EQ(help::FindWikiPage(100), "domain");
  EXPECT_EQ(help::FindWikiPage(200), "common200");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "DH"), "domain");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "ch"), "common");
  EXPECT_EQ(help::FindWikiPageForHelp(21, "ch"), "");
  EXPECT_EQ(compiled(100), "20/ch");
  EXPECT_EQ(compiled(300), "");

  ASSERT_TRUE(setActiveTessalineDomain("RAIL")); // no folder of its own
  EXPECT_EQ(help::FindWikiPage(100), "common");
  fake::removeValue(kHKCU, "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules",
                    "ActiveDomainKey");
  EXPECT_EQ(help::FindWikiPage(100), "common");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "dh"), "");
}

// The files and listings this process holds open.
int openDescriptors() {
  const std::filesystem::directory_iterator open("/proc/self/fd");
  return static_cast<int>(std::distance(begin(open), end(open)));
}

TEST_F(HelpFilesTest, TheFirstTopicFileListedThatOpensWinsAndEveryFileIsClosed) {
  for (const char* name : {"k.cfg", "b.cfg", "x.cfg", "a.cfg", "m.cfg", "z.cfg", "c.cfg"}) {
    writeHelp(std::string("WikiCfg/") + name, std::string("100;page-") + name + ";20;h;\n");
  }
  writeHelp("WikiCfg/0.txt", "100;txt;20;h;\n");
  writeHelp("WikiCfg/cfg", "100;noext;20;h;\n");
  // The order in which the host lists the folder.
  std::vector<std::string> order;
  for (const auto& entry : std::filesystem::directory_iterator(help("WikiCfg"))) {
    if (entry.path().extension() == ".cfg") {
      order.push_back(entry.path().filename().string());
    }
  }
  ASSERT_EQ(order.size(), 7u);
  const int before = openDescriptors();
  EXPECT_EQ(help::FindWikiPage(100), "page-" + order.front());
  EXPECT_EQ(compiled(100), "20/h");
  // A topic in the last file listed alone: every file is read up to it.
  writeHelp("WikiCfg/" + order.back(), "1;x;\n2;y;\n200;last;30;g;\n");
  EXPECT_EQ(help::FindWikiPage(200), "last");
  EXPECT_EQ(compiled(200), "30/g");
  // Folders named like topic files and a name whose file is gone are gone over.
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  writeHelp("WikiCfg/ROAD/a.cfg/inner.cfg", "100;inner;20;h;\n");
  writeHelp("WikiCfg/ROAD/m.cfg/inner.cfg", "100;inner;20;h;\n");
  std::filesystem::create_symlink(help("WikiCfg/gone"), help("WikiCfg/ROAD/l.cfg"));
  writeHelp("WikiCfg/ROAD/b.cfg", "100;real;20;h;\n");
  EXPECT_EQ(help::FindWikiPage(100), "real");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "h"), "real");
  EXPECT_EQ(help::FindWikiPage(300) + help::FindWikiPageForHelp(300, "h") + compiled(300), "");
  EXPECT_EQ(openDescriptors(), before);
}

} // namespace
} // namespace tsen::testing
