// info, expand/resource/exists, the session commands, help with --dry-run and
// bad command lines, against the staged sample installation.
#include "StagedSuite.h"

#include <nlohmann/json.hpp>

#include <regex>

namespace tsenv::tests {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kKernelServices =
    "HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel Services";
constexpr const char* kRoadAddress = "https://help.quarzel.com/doku.php/no:ts:roads:alignment";

using TsenvTest = StagedSuite;

// A label, then its value on the same line.
void expectShown(const std::string& text, const std::string& label, const std::string& value) {
  EXPECT_TRUE(std::regex_search(
      text, std::regex("\n  " + label + " +" +
                       std::regex_replace(value, std::regex(R"([\\.\[\]()])"), R"(\$&)") +
                       "(  \\[exists\\])?\n")))
      << label << " should show " << value << " in\n"
      << text;
}

TEST_F(TsenvTest, InfoShowsTheSampleAnswersAndWhereEachCameFrom) {
  const Outcome info = tsenv({"info"});
  ASSERT_EQ(info.status, 0) << info.err;
  for (const auto& [label, value] : std::vector<std::pair<std::string, std::string>>{
           {"Layout", "19.01"},
           {"Configuration", "Road"},
           {"Language code", "NOR"},
           {"Language identifier", "1044"},
           {"Language name", "Norwegian"},
           {"Country", "Norway"},
           {"Feature pack", "2"},
           {"Update", "2"},
           {"Application", app()},
           {"User data", libraryPath(userData()) + "  [missing]"},
           {"Active domain", "ROAD"},
           {"Last command", "RoadAlign"},
           {"Command log", "on"},
           {"Wiki address", "https://help.quarzel.com/"},
       }) {
    expectShown(info.out, label, value);
  }
  EXPECT_THAT(info.out, HasSubstr(std::string("from: ") + kKernelServices + "\\Language\n"));
  EXPECT_THAT(info.out, HasSubstr("QVRConnect\\QVRConnect = 1"));

  // Without any settings every answer is a fallback, and says so.
  useEmptySettings();
  const Outcome bare = tsenv({"info"});
  ASSERT_EQ(bare.status, 0) << bare.err;
  expectShown(bare.out, "Layout", "18.40");
  expectShown(bare.out, "Language name", "English");
  expectShown(bare.out, "Configuration", "(empty)");
  EXPECT_THAT(bare.out, HasSubstr("from: not set: English\n"));
  EXPECT_THAT(bare.out, HasSubstr("from: not set: no configuration"));
}

TEST_F(TsenvTest, InfoJsonParsesBackToTheSameAnswers) {
  const Outcome run = tsenv({"info", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["registry"]["layout"]["value"], "19.01");
  EXPECT_EQ(json["registry"]["configuration"]["source"],
            std::string(kKernelServices) + "\\Current Config");
  EXPECT_EQ(json["language"]["id"]["value"], 1044);
  EXPECT_EQ(json["version"]["feature_pack"]["value"], 2);
  EXPECT_EQ(json["version"]["update"]["value"], 2);
  EXPECT_EQ(json["folders"]["application"]["value"], app());
  EXPECT_EQ(json["folders"]["application"]["exists"], true);
  EXPECT_EQ(json["folders"]["user_data"]["exists"], false);
  EXPECT_EQ(json["session"]["active_domain"]["value"], "ROAD");
  EXPECT_EQ(json["session"]["log_switch"]["value"], true);
  // Every answer carries its origin.
  for (const auto& [group, facts] : json.items()) {
    for (const auto& [key, fact] : facts.items()) {
      EXPECT_FALSE(fact["source"].get<std::string>().empty()) << group << "." << key;
    }
  }
}

TEST_F(TsenvTest, PathCommandsAnswerAsTheLibrary) {
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
    int status;
  };
  const std::string resources = app() + "\\Resources\\";
  for (const Case& c : std::vector<Case>{
           {{"expand", "<APPATH>\\Help\\x@@.chm", "--flags", "lang-marker"},
            app() + "\\Help\\xNOR.chm\n",
            0},
           {{"expand", "Help\\x.chm", "--base", "app", "--flags", "lang-subfolder"},
            app() + "\\Help\\NOR\\x.chm\n",
            0},
           {{"expand", "a@@\\x", "--base", "1", "--flags", "3"}, app() + "\\aNOR\\NOR\\x\n", 0},
           {{"expand", "<LangName>-<CURRENTCONFIG>", "--base", "99"}, "Norwegian-Road\n", 0},
           {{"expand", "x", "--base", "resources"}, resources + "x\n", 0},
           {{"resource", "Road"}, resources + "Road.RC.NOR.DLL\n", 0},
           {{"resource", "Bridge"}, "", 1},
           {{"exists", app() + "\\Help\\NOR"}, "exists\n", 0},
           {{"exists", app() + "\\Help\\DAN"}, "does not exist\n", 1},
       }) {
    const Outcome run = tsenv(c.arguments);
    EXPECT_EQ(run.out, c.out) << c.arguments[0] << " " << c.arguments[1];
    EXPECT_EQ(run.status, c.status) << c.arguments[0] << " " << c.arguments[1];
  }
}

TEST_F(TsenvTest, SessionCommandsStoreWhatModulesSeeAndLog) {
  EXPECT_EQ(tsenv({"domain"}).out, "ROAD\n");
  EXPECT_EQ(tsenv({"last-command"}).out, "RoadAlign\n");
  EXPECT_EQ(tsenv({"domain", "SURVEY"}).status, 0);
  EXPECT_EQ(tsenv({"domain"}).out, "SURVEY\n");

  fs::create_directories(userData()); // the library never creates it
  EXPECT_EQ(tsenv({"last-command", "Align", "ROAD"}).status, 0);
  EXPECT_EQ(tsenv({"domain"}).out, "ROAD\n");
  EXPECT_EQ(tsenv({"last-command"}).out, "Align\n");
  const Outcome logged = tsenv({"log", "Profile", "*", "from tsenv"});
  EXPECT_EQ(logged.out, "logged to " + libraryPath(userData() / "TessalineCommand.log") + "\n");

  EXPECT_EQ(tsenv({"reg", "set", "Tessaline modules", "LogCommands", "0", "--dword"}).status, 0);
  const Outcome off = tsenv({"log", "Hidden", "X", ""});
  EXPECT_THAT(off.out, HasSubstr("not logged: logging is off"));

  const std::string stamp = R"(\d{4}\.\d\d\.\d\d, \d\d:\d\d:\d\d)";
  EXPECT_TRUE(std::regex_match(
      readFile(userData() / "TessalineCommand.log"),
      std::regex("Align;" + stamp + ";ROAD;\r?\nProfile;" + stamp + ";ROAD;from tsenv\r?\n")))
      << readFile(userData() / "TessalineCommand.log");
}

TEST_F(TsenvTest, DryRunPrintsWhatWouldOpenAndOpensNothing) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> lines;
  };
  for (const Case& c : std::vector<Case>{
           {{"wiki", "100", "--dry-run"}, {std::string("open address: ") + kRoadAddress}},
           {{"help", "21", "RoadHelp", "--dry-run"},
            {std::string("open address: ") + kRoadAddress}},
           {{"wiki", "55", "--only", "--dry-run"},
            {"open address: https://help.quarzel.com/doku.php/no:ts:start"}},
           {{"help", "7", "nohelp", "--dry-run"},
            {"message box: Tessaline help: Unable to find help file \"" + app() +
                 "\\Help\\NOR\\nohelp.chm\" !\\n\\nTried to load English version \"" + app() +
                 "\\Help\\Eng\\nohelp.chm\", but was not found either.",
             "open help: " + app() + "\\Help\\Eng\\nohelp.chm 15 7"}},
       }) {
    const Outcome run = tsenv(c.arguments);
    EXPECT_EQ(run.status, 0);
    for (const std::string& line : c.lines) {
      EXPECT_THAT(run.out, HasSubstr(line + "\n")) << c.arguments[0] << " " << c.arguments[1];
    }
  }
  EXPECT_EQ(opened(), "");

  // The stand-in browser does note a real request, so the check above means something.
  EXPECT_EQ(tsenv({"wiki", "100"}).status, 0);
  EXPECT_THAT(opened(true), HasSubstr(kRoadAddress));
}

TEST_F(TsenvTest, BadArgumentsAreOneLineAndChangeNothing) {
  writeFile(scratch("foreign.reg"), "Windows Registry Editor Version 5.00\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\18.40]\r\n"
                                    "\"A\"=\"b\"\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n"
                                    "\"A\"=\"b\"\r\n");
  writeFile(scratch("text.reg"), "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline]\r\n");
  const std::string settings = settingsSnapshot();
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"wiki", "abc"},
           {"wiki", "12x", "--dry-run"},
           {"help", "1"},
           {"log", "a", "b"},
           {"domain", ""},
           {"last-command", "Cmd", ""},
           {"expand", "x", "--base", "nowhere"},
           {"expand", "x", "--flags", "lang-everything"},
           {"info", "--xml"},
           {"reg", "frob"},
           {"reg", "set", "HKCU\\SOFTWARE\\Other", "v", "x"},
           {"reg", "set", "Kernel Services", "Language", "12x", "--dword"},
           {"reg", "delete", "HKLM\\SOFTWARE\\Quarzel"},
           {"reg", "import", scratch("foreign.reg").string()},
           {"reg", "import", scratch("text.reg").string()},
       }) {
    const Outcome run = tsenv(arguments);
    const std::string shown = arguments.empty() ? "(none)" : arguments[0];
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_TRUE(std::regex_match(run.err, std::regex("tsenv: [^\n]+\n"))) << run.err;
    EXPECT_EQ(run.out, "") << shown;
  }
  EXPECT_EQ(settingsSnapshot(), settings);
  EXPECT_FALSE(fs::exists(userData()));
}

} // namespace
} // namespace tsenv::tests
