// The topic files below Help\WikiCfg on a real disk: the three readers over
// LF and CR LF files, and the searches through real folder listings.
#include "HelpAppFolder.h"

#include "help/HelpInternal.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace tsen::testing {
namespace {

class TopicFilesWine : public ::testing::Test {
protected:
  std::string writeTopics(const std::string& relative, std::string_view content,
                          bool crlf = false) const {
    return app.writeHelp("WikiCfg\\" + relative, content, crlf);
  }
  // The files (not folders) FindFirstFileA hands out for folder\*.cfg, in
  // its order.
  std::vector<std::string> listedFiles(const std::string& folder) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA(app.help(folder + "\\*.cfg").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        names.emplace_back(found.cFileName);
      }
    }
    if (find != INVALID_HANDLE_VALUE) {
      FindClose(find);
    }
    return names;
  }

  ProductKeysGuard keys;
  HelpAppFolder app;
};

// Each answer as text, "" when nothing is found (the outputs then untouched);
// a compiled help topic written "topic/name".
std::string compiledText(bool found, int helpTopic, const std::string& helpName) {
  EXPECT_TRUE(found || (helpTopic == -777 && helpName == "-"));
  return found ? std::to_string(helpTopic) + "/" + helpName : "";
}
std::string compiledFrom(int topic, const std::string& path) {
  int helpTopic = -777;
  std::string helpName = "-";
  const bool found = help::ReadCompiledTopicFromFile(topic, helpTopic, helpName, path);
  return compiledText(found, helpTopic, helpName);
}
std::string compiledSearch(int topic) {
  int helpTopic = -777;
  std::string helpName = "-";
  const bool found = help::FindCompiledHelpTopic(topic, helpTopic, helpName);
  return compiledText(found, helpTopic, helpName);
}
std::string wikiFrom(int topic, const std::string& path) {
  std::string page = "-";
  const bool found = help::ReadWikiPageFromFile(topic, path, page);
  EXPECT_TRUE(found || page == "-");
  return found ? page : "";
}
std::string helpFrom(int topic, const std::string& helpName, const std::string& path) {
  std::string page = "-";
  const bool found = help::ReadHelpPageFromFile(topic, helpName, path, page);
  EXPECT_TRUE(found || page == "-");
  return found ? page : "";
}

TEST_F(TopicFilesWine, ReadersAnswerAlikeForLfAndCrLf) {
  const std::string roads = "100;roads:start;20,21;roadhelp;\n";
  const std::string longList = "100;p;" + std::string(1100, '9') + ",20;h;\n";
  const struct {
    std::string content;
    int topic;
    std::string helpName, wiki, help, compiled;
  } cases[] = {
      // Fields that run to the end of the line must not keep a CR.
      {"100;roads:start\n", 100, "h", "roads:start", "", ""},
      {"100;p;20;h\n", 100, "h", "p", "", "20/h"},
      {"100;p;20;h\n", 20, "H", "", "p", ""},
      {"100; roads : start ;\n", 100, "h", "roads:start", "", ""},
      {roads, 100, "roadhelp", "roads:start", "", "20/roadhelp"},
      {roads, 21, "RoadHelp", "", "roads:start", ""},
      {roads, 2, "roadhelp", "", "", ""},
      {"99;a;1;h;\n100;;2;g;\n100;c;3;k;\n", 100, "k", "c", "", "3/k"},
      {"-3;p;-3,-30;h;\n", -30, "h", "", "p", ""},
      {"-2147483648;min;" + std::to_string(INT_MIN) + ";h;\n", INT_MIN, "h", "min", "min",
       std::to_string(INT_MIN) + "/h"},
      {"4294967396;big;2147483647;h;\n", INT_MAX, "h", "big", "big", "2147483647/h"},
      {"abc;p;7;h;\n", 0, "h", "p", "", "7/h"},
      {"100;a/b;20;x;\n100;a//b;20;x;\n", 100, "x", "a/b", "", "20/x"},
      {"100;p;20;h\xE4;\n", 20, "H\xE4", "", "p", ""},
      // Text mode ends the file at Ctrl-Z.
      {"\x1A" + roads, 100, "roadhelp", "", "", ""},
      // Pieces of 1023 characters: the list's end comes as a line of its own.
      {longList, 20, "h", "", "", ""},
      {longList, 100, "h", "p", "", ""},
      {longList, INT_MAX, "h", "h", "", ""},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      const std::string path = writeTopics("t.cfg", c.content, crlf);
      const std::string where = std::string(crlf ? "CR LF " : "LF ") + c.content.substr(0, 60) +
                                " topic " + std::to_string(c.topic) + " in " + c.helpName;
      EXPECT_EQ(wikiFrom(c.topic, path), c.wiki) << where;
      EXPECT_EQ(helpFrom(c.topic, c.helpName, path), c.help) << where;
      EXPECT_EQ(compiledFrom(c.topic, path), c.compiled) << where;
    }
  }
}

TEST_F(TopicFilesWine, TheDomainFolderComesFirstExceptForCompiledHelp) {
  // A domain is used as stored, blanks and bytes above 0x7F included.
  const std::string domain = "Road Works \xC4";
  writeTopics(domain + "\\a.cfg", "100;domain;20;dh;\n", true);
  writeTopics("common.cfg", "100;common;20;ch;\n200;common200;30;ch;\n", true);
  setActiveDomain(domain);
  EXPECT_EQ(help::FindWikiPage(100), "domain");
  EXPECT_EQ(help::FindWikiPage(200), "common200");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "DH"), "domain");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "ch"), "common");
  EXPECT_EQ(compiledSearch(100), "20/ch");
  EXPECT_EQ(compiledSearch(300), "");
  setActiveDomain("");
  EXPECT_EQ(help::FindWikiPage(100), "common");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "dh"), "");
}

TEST_F(TopicFilesWine, EntriesThatDoNotOpenAreGoneOverInListingOrder) {
  // Folders named like topic files, and a file held open without sharing.
  writeTopics("a.cfg\\inner.cfg", "100;inner;20;h;\n");
  writeTopics("ROAD\\m.cfg\\inner.cfg", "100;inner;20;h;\n");
  for (const char* name : {"b.cfg", "k.cfg", "x.cfg"}) {
    writeTopics(name, std::string("100;") + name + ";20;h;\n");
    writeTopics(std::string("ROAD\\") + name, std::string("100;ROAD-") + name + ";20;h;\n");
  }
  const std::vector<std::string> files = listedFiles("WikiCfg");
  ASSERT_EQ(files.size(), 3u);
  const platform::win32::UniqueHandle held(CreateFileA(app.help("WikiCfg\\" + files[0]).c_str(),
                                                       GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  ASSERT_EQ(std::fopen(app.help("WikiCfg\\" + files[0]).c_str(), "r"), nullptr);

  EXPECT_EQ(help::FindWikiPage(100), files[1]);
  EXPECT_EQ(help::FindWikiPageForHelp(20, "h"), files[1]);
  EXPECT_EQ(compiledSearch(100), "20/h");
  setActiveDomain("ROAD");
  EXPECT_EQ(help::FindWikiPage(100), "ROAD-" + listedFiles("WikiCfg\\ROAD").front());
  EXPECT_EQ(help::FindWikiPage(101), "");
}

TEST_F(TopicFilesWine, NoTopicFolderFindsNothing) {
  setActiveDomain("ROAD");
  app.makeHelpFolder("");
  EXPECT_EQ(help::FindWikiPage(100), "");
  EXPECT_EQ(help::FindWikiPageForHelp(20, "h"), "");
  EXPECT_EQ(compiledSearch(100), "");
}

} // namespace
} // namespace tsen::testing
