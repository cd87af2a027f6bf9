// Compiled help through the DLL and the registered help control: the calls
// the control gets, the English fallback and the messages, in order.
#include "HelpEntryWine.h"

#include <climits>

namespace tsen::testing {
namespace {

struct CompiledCase {
  const char* name;
  int topic;
  bool localizedInstalled, englishInstalled;
  // Viewer calls, "<command> <data> L|E" for the localized or English file:
  // those the control shows, and those it must get, in order.
  std::vector<std::string> shows, calls;
  // The messages, in order: "missing" (both files), "topic L|E" (the topic
  // is not in that file) or "failed L|E" (the viewer did not start).
  std::vector<std::string> told;
  friend void PrintTo(const CompiledCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<CompiledCase>& compiledCases() {
  // clang-format off
  static const std::vector<CompiledCase> cases{
      {"Contents", 0, true, true, {"1 0 L"}, {"1 0 L"}, {}},
      {"Topic", 21, true, true, {"15 21 L"}, {"15 21 L"}, {}},
      {"NegativeTopicKeepsItsSign", -5, true, false, {"15 -5 L"}, {"15 -5 L"}, {}},
      {"LowestTopic", INT_MIN, true, false, {"15 -2147483648 L"}, {"15 -2147483648 L"}, {}},
      {"HighestTopic", INT_MAX, true, false, {"15 2147483647 L"}, {"15 2147483647 L"}, {}},
      {"EnglishWhenLocalizedMissing", 21, false, true, {"15 21 E"}, {"15 21 E"}, {}},
      {"UnknownTopicOpensEnglishContents", 99, true, true, {"15 21 L", "1 0 E"},
       {"15 99 L", "1 0 E"}, {"topic L"}},
      {"UnknownNegativeTopicWithoutEnglish", -7, true, false, {"1 0 L"},
       {"15 -7 L", "1 0 E"}, {"topic L", "failed E"}},
      {"ViewerFailsOnContents", 0, true, true, {}, {"1 0 L"}, {"failed L"}},
      {"BothMissingContents", 0, false, false, {}, {"1 0 E"}, {"missing", "failed E"}},
      {"BothMissingTopic", 7, false, false, {}, {"15 7 E", "1 0 E"},
       {"missing", "topic E", "failed E"}},
  };
  // clang-format on
  return cases;
}

class CompiledHelpWine : public HelpEntryWine, public ::testing::WithParamInterface<CompiledCase> {
protected:
  // A template line with its trailing "L" or "E" made the file's path.
  std::string withFile(std::string line) const {
    const char which = line.back();
    line.pop_back();
    return line + chm(which == 'L' ? "NOR" : "Eng", "RoadHelp");
  }
};

TEST_P(CompiledHelpWine, CallsTheControlAndTellsEachFailure) {
  const CompiledCase& c = GetParam();
  if (c.localizedInstalled) {
    app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  }
  if (c.englishInstalled) {
    app.writeHelp("Eng\\RoadHelp.chm", "ITSF");
  }
  std::vector<std::string> shows, calls, told;
  for (const auto& line : c.shows) {
    shows.push_back(withFile(line));
  }
  showInViewer(shows);
  for (const auto& line : c.calls) {
    calls.push_back(withFile(line));
  }
  for (const auto& line : c.told) {
    const std::string file = withFile(line.substr(line.size() - 1));
    told.push_back(helpBox(line == "missing"
                               ? fileMissingText(chm("NOR", "RoadHelp"), chm("Eng", "RoadHelp"))
                           : line.starts_with("topic") ? topicMissingText(c.topic, file)
                                                       : viewerFailedText(file)));
  }

  TsEnHelp(c.topic, "RoadHelp");

  EXPECT_EQ(viewerCalls(), calls);
  EXPECT_EQ(shownBoxes(), told);
}

INSTANTIATE_TEST_SUITE_P(Sequences, CompiledHelpWine, ::testing::ValuesIn(compiledCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelpEntryWine, AnExpandableRegistrationIsExpanded) {
  SetEnvironmentVariableA("TSEN_HELP_CONTROL_FOLDER", programFolder().c_str());
  control.reset();
  control = registerControl("%TSEN_HELP_CONTROL_FOLDER%\\FakeHtmlHelp.dll", REG_EXPAND_SZ);
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  showInViewer({"1 0 " + chm("NOR", "RoadHelp")});
  TsEnHelp(0, "RoadHelp");
  EXPECT_EQ(viewerCalls(), std::vector{"1 0 " + chm("NOR", "RoadHelp")});
  EXPECT_EQ(shownBoxes(), std::vector<std::string>{});
}

TEST_F(HelpEntryWine, AControlWithoutEntry14FailsForTheRestOfTheProcess) {
  // The entry is exported by name at ordinal 15: it must not be found.
  control.reset();
  control = registerControl(programFolder() + "\\FakeHtmlHelpOrdinal15.dll");
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  app.writeHelp("Eng\\RoadHelp.chm", "ITSF");
  showInViewer({"15 21 " + chm("NOR", "RoadHelp"), "1 0 " + chm("Eng", "RoadHelp")});
  TsEnHelp(21, "RoadHelp");
  // A working control registered now is not tried: the failure is kept.
  control.reset();
  control = registerControl(programFolder() + "\\FakeHtmlHelp.dll");
  TsEnHelp(21, "RoadHelp");
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
  const std::vector<std::string> once{helpBox(topicMissingText(21, chm("NOR", "RoadHelp"))),
                                      helpBox(viewerFailedText(chm("Eng", "RoadHelp")))};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(shownBoxes(), twice);
}

// Names reach the control and the messages verbatim; a message longer than
// its 512-character buffer is shortened, never written past it.
TEST_F(HelpEntryWine, OddAndLongHelpNamesKeepTheSequence) {
  const std::string names[] = {"", "a \"b\" %s%n%d%% \xE9\xFF", std::string(600, 'n') + "%n"};
  for (const std::string& name : names) {
    forgetCalls();
    TsEnHelp(3, name);
    const std::string localized = chm("NOR", name), english = chm("Eng", name);
    EXPECT_EQ(viewerCalls(), (std::vector{"15 3 " + english, "1 0 " + english}));
    const std::vector<std::string> full{helpBox(fileMissingText(localized, english)),
                                        helpBox(topicMissingText(3, english)),
                                        helpBox(viewerFailedText(english))};
    const auto& shown = shownBoxes();
    ASSERT_EQ(shown.size(), full.size()) << name;
    for (std::size_t at = 0; at < full.size(); ++at) {
      // Whole, or cut to what the buffer holds.
      const std::size_t kept = shown[at].size() - helpBox("").size();
      EXPECT_TRUE(kept <= 511 && full[at].starts_with(shown[at]) &&
                  (shown[at] == full[at] || kept == 511))
          << name.substr(0, 20) << ": " << shown[at].substr(0, 200);
    }
  }
}

} // namespace
} // namespace tsen::testing
