// The three readers of one topic file: "topic;wiki page;help topics;help name;"
#include "HelpConfigFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace tsen::testing {
namespace {

class TopicFilesReaders : public HelpFilesTest {
protected:
  // Each reader's answer, "" when it finds nothing (and then must leave its
  // outputs alone); the compiled help topic written "topic/name".
  static std::string wikiPage(int topic, const std::string& path) {
    std::string page = "-";
    const bool found = help::ReadWikiPageFromFile(topic, path, page);
    EXPECT_TRUE(found || page == "-");
    return found ? page : "";
  }
  static std::string helpPage(int topic, const std::string& helpName, const std::string& path) {
    std::string page = "-";
    const bool found = help::ReadHelpPageFromFile(topic, helpName, path, page);
    EXPECT_TRUE(found || page == "-");
    return found ? page : "";
  }
  static std::string compiled(int topic, const std::string& path) {
    int helpTopic = -777;
    std::string helpName = "-";
    const bool found = help::ReadCompiledTopicFromFile(topic, helpTopic, helpName, path);
    EXPECT_TRUE(found || (helpTopic == -777 && helpName == "-"));
    return found ? std::to_string(helpTopic) + "/" + helpName : "";
  }
};

TEST_F(TopicFilesReaders, EachReaderTakesTheFirstLineThatFitsIt) {
  const std::string roads = "100;roads:start;20,21;roadhelp;\n";
  const struct {
    std::string content;
    int topic;
    std::string helpName, wiki, help, compiled;
  } cases[] = {
      {"100;roads:start\n", 100, "h", "roads:start", "", ""},
      {"100; roads : start ;\n", 100, "h", "roads:start", "", ""},
      {roads, 100, "roadhelp", "roads:start", "", "20/roadhelp"},
      {roads, 21, "RoadHelp", "", "roads:start", ""},
      {roads, 2, "roadhelp", "", "", ""},
      {roads, 20, "road", "", "", ""},
      {"100;p;20,21;RoadHelp;x;\n", 100, "h", "p", "", "20/RoadHelp"},
      {"99;a;1;h;\n100;b;2;g;\n100;c;3;k;\n", 100, "g", "b", "", "2/g"},
      {"100;;20;h;\n100;later;30;g;\n", 20, "h", "", "", ""},
      {"100;;20;h;\n100;later;30;g;\n", 100, "h", "later", "", "30/g"},
      // Field 1 as atol reads it; for help pages present but not compared.
      {"+5;p;+5;h;\n", 5, "h", "p", "", "5/h"},
      {"-3;p;-3,-30;h;\n", -3, "h", "p", "p", "-3/h"},
      {"-3;p;-3,-30;h;\n", -30, "h", "", "p", ""},
      {"-3;p;-3,-30;h;\n", 3, "h", "", "", ""},
      {"12abc;p;x20;h;\n", 12, "h", "p", "", "0/h"},
      {"abc;p;7;h;\n", 0, "h", "p", "", "7/h"},
      {"abc;p;7;h;\n", 7, "h", "", "p", ""},
      {";p;7;h;\n", 7, "h", "", "", ""},
      {"4294967396;big;\n", 100, "h", "", "", ""},
      {"4294967396;big;\n", INT_MAX, "h", "big", "", ""},
      {"-2147483649;min;\n", INT_MIN, "h", "min", "", ""},
      // Four fields for the help page and the compiled topic.
      {"100;p;;h;\n100;p;20;;\n100;p;20\n", 100, "h", "p", "", ""},
      {"100;p;20;h\n", 100, "h", "p", "", "20/h"},
      {"100;p;20;h\n", 20, "H", "", "p", ""},
      {"100\n100;p\n", 100, "h", "p", "", ""},
      // List members are compared as text, help names folding a to z only.
      {"100;p;020,+21, 2 2 ;h;\n", 20, "h", "", "", ""},
      {"100;p;020,+21, 2 2 ;h;\n", 22, "h", "", "p", ""},
      {"100;p;20;h\xE4;\n", 20, "H\xC4", "", "", ""},
      {"100;p;20;h\xE4;\n", 20, "H\xE4", "", "p", ""},
      // Comments.
      {"100//;p;\n//100;q;\n", 100, "h", "", "", ""},
      {"100;a/b;20;x;\n", 100, "x", "a/b", "", "20/x"},
      {"100;a//b;20;x;\n", 100, "x", "a", "", ""},
      {"100;a/\t/b;20;x;\n", 20, "x", "", "a//b", ""},
      {"", 0, "", "", "", ""},
  };
  for (const auto& c : cases) {
    for (const bool crlf : kLineEndings) {
      const std::string path = writeHelp("WikiCfg/t.cfg", c.content, crlf);
      const std::string where = std::string(crlf ? "CR LF " : "LF ") + c.content + " topic " +
                                std::to_string(c.topic) + " in " + c.helpName;
      EXPECT_EQ(wikiPage(c.topic, path), c.wiki) << where;
      EXPECT_EQ(helpPage(c.topic, c.helpName, path), c.help) << where;
      EXPECT_EQ(compiled(c.topic, path), c.compiled) << where;
    }
  }
}

// "1,2,...,last"
std::string topicList(int last) {
  std::string list = "1";
  for (int member = 2; member <= last; ++member) {
    list += "," + std::to_string(member);
  }
  return list;
}

TEST_F(TopicFilesReaders, LongTopicLists) {
  const std::string shortLine = "100;p;" + topicList(250) + ";h;\n";
  ASSERT_LT(shortLine.size(), 1023u);
  const std::string path = writeHelp("WikiCfg/short.cfg", shortLine);
  for (const int member : {1, 25, 250}) {
    EXPECT_EQ(helpPage(member, "h", path), "p") << member;
  }
  EXPECT_EQ(helpPage(251, "h", path), "");

  // Ten thousand members: the line reaches the readers in pieces, and no
  // piece holds all four fields.
  const std::string longLine = "100;p;" + topicList(10000) + ";h;\n";
  const std::string longPath = writeHelp("WikiCfg/long.cfg", longLine);
  for (const int member : {1, 150, 5000, 10000}) {
    EXPECT_EQ(helpPage(member, "h", longPath), "") << member;
  }
  EXPECT_EQ(compiled(100, longPath), "");
  // The last piece is a line of its own: its first number, then the page h.
  const std::string lastPiece = longLine.substr(longLine.size() / 1023 * 1023);
  EXPECT_EQ(wikiPage(std::atoi(lastPiece.c_str()), longPath), "h") << lastPiece.substr(0, 12);
}

TEST_F(TopicFilesReaders, AFileThatDoesNotOpenAnswersNotFound) {
  std::filesystem::create_directories(topicFolder() / "folder.cfg");
  for (const char* name : {"missing.cfg", "folder.cfg"}) {
    const std::string path = backslashed(topicFolder() / name);
    EXPECT_EQ(wikiPage(0, path), "") << name;
    EXPECT_EQ(helpPage(0, "", path), "") << name;
    EXPECT_EQ(compiled(0, path), "") << name;
  }
}

} // namespace
} // namespace tsen::testing
