// Compiled help: the localized file, the English one as the fallback, and
// what the user is told at each failure, in order.
#include "HelpEntryFixture.h"

#include <climits>
#include <optional>

namespace tsen::testing {
namespace {

constexpr unsigned kToc = platform::kHhDisplayToc;
constexpr unsigned kTopic = platform::kHhHelpContext;

enum class File { localized, english };
struct ViewerCall {
  File file;
  unsigned command;
  std::intptr_t data;
};
enum class Told { fileMissing, topicMissing, viewerFailed };
struct Message {
  Told what;
  File file = File::english;
  int topic = 0;
};

struct CompiledCase {
  const char* name;
  int topic;
  // Topics the viewer finds in each installed file; nothing: not installed.
  std::optional<std::set<std::intptr_t>> localized, english;
  std::vector<ViewerCall> calls;
  std::vector<Message> told;
  bool viewerLoads = true;
  friend void PrintTo(const CompiledCase& c, std::ostream* out) { *out << c.name; }
};

using enum File;
using enum Told;

// An installed file, with the one topic the viewer finds in it, if any.
std::optional<std::set<std::intptr_t>> knows() {
  return std::set<std::intptr_t>{};
}
std::optional<std::set<std::intptr_t>> knows(std::intptr_t topic) {
  return std::set<std::intptr_t>{topic};
}
const std::optional<std::set<std::intptr_t>> kMissing;

const std::vector<CompiledCase>& compiledCases() {
  // clang-format off
  static const std::vector<CompiledCase> cases{
      {"Contents", 0, knows(), knows(), {{localized, kToc, 0}}, {}},
      {"KnownTopic", 21, knows(21), knows(21), {{localized, kTopic, 21}}, {}},
      {"NegativeTopicKeepsItsSign", -5, knows(-5), kMissing, {{localized, kTopic, -5}}, {}},
      {"LowestTopic", INT_MIN, knows(INT_MIN), kMissing, {{localized, kTopic, INT_MIN}}, {}},
      {"HighestTopic", INT_MAX, knows(INT_MAX), kMissing, {{localized, kTopic, INT_MAX}}, {}},
      {"EnglishWhenLocalizedMissing", 21, kMissing, knows(21), {{english, kTopic, 21}}, {}},
      {"EnglishContentsWhenLocalizedMissing", 0, kMissing, knows(), {{english, kToc, 0}}, {}},
      {"UnknownTopicOpensEnglishContents", 99, knows(21), knows(),
       {{localized, kTopic, 99}, {english, kToc, 0}}, {{topicMissing, localized, 99}}},
      {"UnknownNegativeTopicWithoutEnglish", -7, knows(21), kMissing,
       {{localized, kTopic, -7}, {english, kToc, 0}},
       {{topicMissing, localized, -7}, {viewerFailed}}},
      {"UnknownTopicInEnglishOnly", 99, kMissing, knows(),
       {{english, kTopic, 99}, {english, kToc, 0}}, {{topicMissing, english, 99}}},
      {"BothMissingContents", 0, kMissing, kMissing,
       {{english, kToc, 0}}, {{fileMissing}, {viewerFailed}}},
      {"BothMissingTopic", 7, kMissing, kMissing,
       {{english, kTopic, 7}, {english, kToc, 0}},
       {{fileMissing}, {topicMissing, english, 7}, {viewerFailed}}},
      {"ViewerDoesNotLoadContents", 0, knows(), knows(),
       {{localized, kToc, 0}}, {{viewerFailed, localized}}, false},
      {"ViewerDoesNotLoadTopic", 21, knows(21), knows(),
       {{localized, kTopic, 21}, {english, kToc, 0}},
       {{topicMissing, localized, 21}, {viewerFailed}}, false},
  };
  // clang-format on
  return cases;
}

class CompiledHelp : public HelpEntryTest, public ::testing::WithParamInterface<CompiledCase> {};

TEST_P(CompiledHelp, OpensTheFirstFileThatServesAndTellsEachFailure) {
  const CompiledCase& c = GetParam();
  setLanguage("NOR");
  const std::map<File, std::string> path{{localized, chm("NOR", "RoadHelp")},
                                         {english, chm("Eng", "RoadHelp")}};
  if (c.localized) {
    installChm("NOR", "RoadHelp", *c.localized, c.viewerLoads);
  }
  if (c.english) {
    installChm("Eng", "RoadHelp", *c.english, c.viewerLoads);
  }

  TsEnHelp(c.topic, "RoadHelp");

  std::vector<std::string> calls, told;
  for (const auto& call : c.calls) {
    calls.push_back(viewerLine(path.at(call.file), call.command, call.data));
  }
  for (const auto& m : c.told) {
    told.push_back(helpBox(m.what == fileMissing
                               ? fileMissingText(path.at(localized), path.at(english))
                           : m.what == topicMissing ? topicMissingText(m.topic, path.at(m.file))
                                                    : viewerFailedText(path.at(m.file))));
  }
  EXPECT_EQ(viewerCalls(), calls);
  EXPECT_EQ(boxes(), told);
  EXPECT_TRUE(fake::shellOpens().empty());
}

INSTANTIATE_TEST_SUITE_P(Sequences, CompiledHelp, ::testing::ValuesIn(compiledCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Names are passed as arguments, never as a format; a message that would
// not fit 512 characters is cut at 511 while the viewer still gets the name.
TEST_F(HelpEntryTest, HelpNamesAreShownVerbatimAndLongMessagesCut) {
  setLanguage("NOR");
  const std::string names[] = {"", "a \"b\" %s%n%d%% \xe9\xff", std::string(600, 'n') + "%n"};
  for (const std::string& name : names) {
    const std::size_t before = fake::messageBoxes().size();
    TsEnHelp(0, name);
    const auto shown = fake::messageBoxes();
    ASSERT_EQ(shown.size(), before + 2) << name;
    EXPECT_EQ(shown[before].text,
              fileMissingText(chm("NOR", name), chm("Eng", name)).substr(0, 511));
    EXPECT_EQ(shown[before + 1].text, viewerFailedText(chm("Eng", name)).substr(0, 511));
    EXPECT_EQ(fake::helpCalls().back().file, chm("Eng", name));
  }
  EXPECT_EQ(fake::messageBoxes().back().text.size(), 511u);
}

TEST_F(HelpEntryTest, AnEmptyLanguageCodeLeavesTwoBackslashes) {
  TsEnHelp(0, "x");
  EXPECT_EQ(
      boxes(),
      (std::vector{helpBox(fileMissingText(app.library() + "\\Help\\\\x.chm", chm("Eng", "x"))),
                   helpBox(viewerFailedText(chm("Eng", "x")))}));
}

} // namespace
} // namespace tsen::testing
