// The searches over the topic folders: the domain's folder before the common
// one, files in listing order, the first match ending the search.
#include "HelpConfigFixture.h"

#include "TsEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace tsen::testing {
namespace {

using help::FindWikiPage;
using help::FindWikiPageForHelp;

class TopicFilesSearch : public HelpFilesTest {
protected:
  void writeTopics(const std::string& relative, std::string_view content) const {
    writeHelp("WikiCfg/" + relative, content);
  }
  // FindCompiledHelpTopic's answer written "topic/name", "" when not found.
  static std::string compiled(int topic) {
    int helpTopic = -777;
    std::string helpName = "-";
    const bool found = help::FindCompiledHelpTopic(topic, helpTopic, helpName);
    EXPECT_TRUE(found || (helpTopic == -777 && helpName == "-"));
    return found ? std::to_string(helpTopic) + "/" + helpName : "";
  }
};

// The files and listings this process holds open.
int openDescriptors() {
  const std::filesystem::directory_iterator open("/proc/self/fd");
  return static_cast<int>(std::distance(begin(open), end(open)));
}

TEST_F(TopicFilesSearch, TheDomainFolderComesFirstExceptForCompiledHelp) {
  writeTopics("ROAD/a.cfg", "100;domain;20;dh;\n");
  writeTopics("common.cfg", "100;common;20;ch;\n200;common200;30;ch;\n");
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  EXPECT_EQ(FindWikiPage(100), "domain");
  EXPECT_EQ(FindWikiPage(200), "common200");
  EXPECT_EQ(FindWikiPageForHelp(20, "DH"), "domain");
  EXPECT_EQ(FindWikiPageForHelp(20, "ch"), "common");
  EXPECT_EQ(FindWikiPageForHelp(21, "ch"), "");
  EXPECT_EQ(compiled(100), "20/ch");
  EXPECT_EQ(compiled(300), "");

  ASSERT_TRUE(setActiveTessalineDomain("RAIL")); // no folder of its own
  EXPECT_EQ(FindWikiPage(100), "common");
  fake::removeValue(kHKCU, "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules",
                    "ActiveDomainKey");
  ASSERT_EQ(getActiveTessalineDomain(), "");
  EXPECT_EQ(FindWikiPage(100), "common");
  EXPECT_EQ(FindWikiPageForHelp(20, "dh"), "");
}

TEST_F(TopicFilesSearch, TheFirstFileOfTheListingWithTheTopicWins) {
  for (const char* name : {"k.cfg", "b.cfg", "x.cfg", "a.cfg", "m.cfg", "z.cfg", "c.cfg"}) {
    writeTopics(name, std::string("100;page-") + name + ";20;h;\n");
  }
  writeTopics("0.txt", "100;txt;20;h;\n");
  writeTopics("cfg", "100;noext;20;h;\n");
  // The order in which the host lists the folder.
  std::vector<std::string> order;
  for (const auto& entry : std::filesystem::directory_iterator(topicFolder())) {
    if (entry.path().extension() == ".cfg") {
      order.push_back(entry.path().filename().string());
    }
  }
  ASSERT_EQ(order.size(), 7u);
  EXPECT_EQ(FindWikiPage(100), "page-" + order.front());
  EXPECT_EQ(FindWikiPageForHelp(20, "h"), "page-" + order.front());
  EXPECT_EQ(compiled(100), "20/h");
  // A topic in the last file listed alone: every file is read up to it.
  writeTopics(order.back(), "1;x;\n2;y;\n200;last;30;g;\n");
  EXPECT_EQ(FindWikiPage(200), "last");
  EXPECT_EQ(compiled(200), "30/g");
}

TEST_F(TopicFilesSearch, EntriesThatDoNotOpenAreGoneOver) {
  // Folders named like topic files, with topic files of their own inside,
  // and a name whose file is gone.
  writeTopics("a.cfg/inner.cfg", "100;inner;20;h;\n");
  writeTopics("m.cfg/inner.cfg", "100;inner;20;h;\n");
  std::filesystem::create_symlink(topicFolder() / "gone", topicFolder() / "l.cfg");
  writeTopics("b.cfg", "100;real;20;h;\n");
  EXPECT_EQ(FindWikiPage(100), "real");
  EXPECT_EQ(FindWikiPageForHelp(20, "h"), "real");
  EXPECT_EQ(compiled(100), "20/h");
  EXPECT_EQ(FindWikiPage(101), "");
}

TEST_F(TopicFilesSearch, NoTopicFolderFindsNothing) {
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  EXPECT_EQ(FindWikiPage(100), "");
  EXPECT_EQ(FindWikiPageForHelp(20, "h"), "");
  EXPECT_EQ(compiled(100), "");
}

TEST_F(TopicFilesSearch, ListingsAndFilesAreClosedWhateverTheAnswer) {
  writeTopics("ROAD/a.cfg", "100;domain;20;h;\n");
  writeTopics("ROAD/b.cfg", "100;domain-b;20;h;\n");
  writeTopics("a.cfg", "100;common;20;h;\n200;common;30;h;\n");
  writeTopics("b.cfg", "100;common-b;20;h;\n");
  ASSERT_TRUE(setActiveTessalineDomain("ROAD"));
  const int before = openDescriptors();
  for (const int topic : {100, 200, 300}) {
    FindWikiPage(topic);
    FindWikiPageForHelp(topic, "h");
    compiled(topic);
    EXPECT_EQ(openDescriptors(), before) << "topic " << topic;
  }
}

} // namespace
} // namespace tsen::testing
