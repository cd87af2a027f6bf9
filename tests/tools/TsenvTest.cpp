// tsenv's subcommands against the staged sample installation: info,
// expand/resource/exists, the session commands, help with --dry-run, bad
// command lines, help-check, and reg.
#include "StagedSuite.h"

#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>

namespace tsenv::tests {
namespace {

using ::testing::HasSubstr;

constexpr const char* kKernelServices =
    "HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel Services";
constexpr const char* kRoadAddress = "https://help.quarzel.com/doku.php/no:ts:roads:alignment";
constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const char* kSuite = "HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline";

using TsenvTest = StagedSuite;

TEST_F(TsenvTest, InfoShowsTheSampleAnswersAsTextAndAsJson) {
  const Outcome text = tsenv({"info"}), run = tsenv({"info", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::ordered_json::parse(run.out);
  for (const auto& [pointer, value] : std::vector<std::pair<std::string, nlohmann::json>>{
           {"/registry/layout/value", "19.01"},
           {"/registry/configuration/value", "Road"},
           {"/registry/configuration/source", std::string(kKernelServices) + "\\Current Config"},
           {"/language/code/value", "NOR"},
           {"/language/id/value", 1044},
           {"/language/name/value", "Norwegian"},
           {"/version/feature_pack/value", 2},
           {"/folders/application/value", app()},
           {"/folders/application/exists", true},
           {"/folders/user_data/value", libraryPath(userData())},
           {"/folders/user_data/exists", false},
           {"/session/active_domain/value", "ROAD"},
           {"/session/log_switch/value", true},
           {"/help/base_url/value", "https://help.quarzel.com/"},
       }) {
    EXPECT_EQ(json.at(nlohmann::json::json_pointer(pointer)), value) << pointer;
  }
  // The text shows the same answers in the same order, and their origins.
  std::istringstream lines(text.out);
  std::string line;
  for (const auto& [group, facts] : json.items()) {
    for (const auto& [key, fact] : facts.items()) {
      while (std::getline(lines, line) && !(line.starts_with("  ") && line[2] != ' ')) {
      }
      const auto& value = fact.at("value");
      std::string shown = value.is_string() ? value.get<std::string>() : value.dump();
      shown = value.is_boolean() ? (value == true ? "on" : "off")
              : shown.empty()    ? "(empty)"
                                 : shown;
      shown +=
          fact.contains("exists") ? (fact.at("exists") == true ? "  [exists]" : "  [missing]") : "";
      EXPECT_TRUE(line.ends_with(" " + shown)) << group << "." << key << ": " << line;
      EXPECT_THAT(text.out, HasSubstr("from: " + fact.at("source").get<std::string>() + "\n"));
    }
  }
  EXPECT_THAT(text.out, HasSubstr("QVRConnect\\QVRConnect = 1"));
}

TEST_F(TsenvTest, PathCommandsAnswerAsTheLibrary) {
  const std::string resources = app() + "\\Resources\\";
  expectSteps({
      {{"expand", "<APPATH>\\Help\\x@@.chm", "--flags", "lang-marker"},
       app() + "\\Help\\xNOR.chm\n"},
      {{"expand", "Help\\x.chm", "--base", "app", "--flags", "lang-subfolder"},
       app() + "\\Help\\NOR\\x.chm\n"},
      {{"expand", "a@@\\x", "--base", "1", "--flags", "3"}, app() + "\\aNOR\\NOR\\x\n"},
      {{"expand", "<LangName>-<CURRENTCONFIG>", "--base", "99"}, "Norwegian-Road\n"},
      {{"expand", "x", "--base", "resources"}, resources + "x\n"},
      {{"resource", "Road"}, resources + "Road.RC.NOR.DLL\n"},
      {{"resource", "Bridge"}, "", 1},
      {{"exists", app() + "\\Help\\NOR"}, "exists\n"},
      {{"exists", app() + "\\Help\\DAN"}, "does not exist\n", 1},
  });
}

TEST_F(TsenvTest, SessionCommandsStoreWhatModulesSeeAndLog) {
  expectSteps({{{"domain"}, "ROAD\n"},
               {{"last-command"}, "RoadAlign\n"},
               {{"domain", "SURVEY"}, ""},
               {{"domain"}, "SURVEY\n"}});
  fs::create_directories(userData()); // the library never creates it
  expectSteps({{{"last-command", "Align", "ROAD"}, ""},
               {{"domain"}, "ROAD\n"},
               {{"last-command"}, "Align\n"},
               {{"log", "Profile", "*", "from tsenv"},
                "logged to " + libraryPath(userData() / "TessalineCommand.log") + "\n"},
               {{"reg", "set", "Tessaline modules", "LogCommands", "0", "--dword"}, ""}});
  EXPECT_THAT(tsenv({"log", "Hidden", "X", ""}).out, HasSubstr("not logged: logging is off"));
  const std::string stamp = R"(\d{4}\.\d\d\.\d\d, \d\d:\d\d:\d\d)";
  EXPECT_TRUE(std::regex_match(
      readFile(userData() / "TessalineCommand.log"),
      std::regex("Align;" + stamp + ";ROAD;\r?\nProfile;" + stamp + ";ROAD;from tsenv\r?\n")))
      << readFile(userData() / "TessalineCommand.log");
}

TEST_F(TsenvTest, DryRunPrintsWhatWouldOpenAndOpensNothing) {
  const std::string road = std::string("open address: ") + kRoadAddress + "\n";
  expectSteps({
      {{"wiki", "100", "--dry-run"}, road},
      {{"help", "21", "RoadHelp", "--dry-run"}, road},
      {{"wiki", "55", "--only", "--dry-run"},
       "open address: https://help.quarzel.com/doku.php/no:ts:start\n"},
      {{"help", "7", "nohelp", "--dry-run"},
       "message box: Tessaline help: Unable to find help file \"" + app() +
           "\\Help\\NOR\\nohelp.chm\" !\\n\\nTried to load English version \"" + app() +
           "\\Help\\Eng\\nohelp.chm\", but was not found either.\nopen help: " + app() +
           "\\Help\\Eng\\nohelp.chm 15 7\n"},
  });
  EXPECT_EQ(opened(), "");

  // The stand-in browser does note a real request, so the check above means something.
  EXPECT_EQ(tsenv({"wiki", "100"}).status, 0);
  EXPECT_THAT(opened(true), HasSubstr(kRoadAddress));
}

TEST_F(TsenvTest, BadArgumentsAreOneLineAndChangeNothing) {
  writeFile(scratch("foreign.reg"), kHeader + ("[" + std::string(kSuite)) +
                                        "\\18.40]\r\n\"A\"=\"b\"\r\n"
                                        "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n\"A\"=\"b\"\r\n");
  writeFile(scratch("text.reg"), "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline]\r\n");
  const std::string settings = settingsSnapshot();
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"wiki", "12x", "--dry-run"},
           {"log", "a", "b"},
           {"domain", ""},
           {"expand", "x", "--base", "nowhere"},
           {"info", "--xml"},
           {"reg", "set", "HKCU\\SOFTWARE\\Other", "v", "x"},
           {"reg", "set", "Kernel Services", "Language", "12x", "--dword"},
           {"reg", "delete", "HKLM\\SOFTWARE\\Quarzel"},
           {"reg", "import", scratch("foreign.reg").string()},
           {"reg", "import", scratch("text.reg").string()},
       }) {
    const Outcome run = tsenv(arguments);
    EXPECT_EQ(run.status, 2) << (arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_TRUE(std::regex_match(run.err, std::regex("tsenv: [^\n]+\n"))) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(settingsSnapshot(), settings);
  EXPECT_FALSE(fs::exists(userData()));
}

// help-check against the sample Help folder and a copy with planted faults.

TEST_F(TsenvTest, HelpCheckFindsNoProblemsInTheSample) {
  // Read as the library reads: CR LF, tabs, blanks, comments, and Ctrl-Z ending the file.
  writeFile(suite() / "Help/WikiCfg/general.cfg",
            "3;\tgeneral:x ; 5 ;generalhelp; // note\r\n\x1Anot a topic line\r\n", true);
  const Outcome run = tsenv({"help-check"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("\n0 problems, "));
  // Notes: the domain's line wins; Norwegian users of generalhelp get English.
  EXPECT_THAT(run.out, HasSubstr("Help\\WikiCfg\\ROAD\\road.cfg:2: note: topic 100 overrides "
                                 "Help\\WikiCfg\\general.cfg:4 while the active domain is ROAD"));
  EXPECT_THAT(run.out, HasSubstr("Help\\NOR\\generalhelp.chm: note: missing (named by "
                                 "Help\\WikiCfg\\general.cfg:2)"));
}

TEST_F(TsenvTest, HelpCheckReportsEachPlantedFaultWithItsPlace) {
  const auto append = [&](const std::string& file, const std::string& lines) {
    writeFile(suite() / "Help" / file, lines, true);
  };
  append("Tessaline_Wiki_Exeptions.cfg", "BROKEN LINE\nPLAN;nor=no;DAN=d;\nROAD;NOR=CHM;\n");
  append("Tessaline_Help_Defaults.cfg", "SURVEY;otherhelp;\nPLAN;\n");
  append("Tessaline_Wiki_Help_Language_Mapping.cfg", "FRA\nnor = nb\n");
  append("WikiCfg/general.cfg", "1;general:again;\nabc;x:y;\n300;x:z;30;missinghelp;\n"
                                "301;x:w;31,3x\n" +
                                    std::string(1100, 'a') + ";p;\n");
  append("WikiCfg/more.cfg", "2;general:elsewhere;\n");
  append("WikiCfg/ORPHAN/orphan.cfg", "5;orphan:start;\n");

  const Outcome run = tsenv({"help-check"});
  EXPECT_EQ(run.status, 1);
  for (const char* finding : {
           "Help\\Tessaline_Wiki_Exeptions.cfg:5: no ';' after the domain",
           "Help\\Tessaline_Wiki_Exeptions.cfg:6: language code 'nor' never matches",
           "Help\\Tessaline_Wiki_Exeptions.cfg:6: value 'd' of DAN is ignored",
           "Help\\Tessaline_Wiki_Exeptions.cfg:7: domain ROAD again: only its first line "
           "(Help\\Tessaline_Wiki_Exeptions.cfg:3) is read",
           "Help\\Tessaline_Help_Defaults.cfg:5: SURVEY again: the first value "
           "(Help\\Tessaline_Help_Defaults.cfg:3) wins",
           "Help\\Tessaline_Help_Defaults.cfg:6: no ';' after the value",
           "Help\\Tessaline_Wiki_Help_Language_Mapping.cfg:7: no '='",
           "Help\\Tessaline_Wiki_Help_Language_Mapping.cfg:8: NOR again: the first line "
           "(Help\\Tessaline_Wiki_Help_Language_Mapping.cfg:2) wins",
           "Help\\WikiCfg\\general.cfg:5: topic 1 is defined again: Help\\WikiCfg\\general.cfg:2 "
           "wins",
           "Help\\WikiCfg\\general.cfg:6: topic 'abc' is not a number: read as 0",
           "Help\\Eng\\missinghelp.chm: missing (named by Help\\WikiCfg\\general.cfg:7)",
           "Help\\WikiCfg\\general.cfg:8: '31,3x' after the page is ignored",
           "Help\\WikiCfg\\general.cfg:9: longer than 1023 characters",
           "topic 2 is defined again",
           "Help\\WikiCfg\\ORPHAN: domain folder without a line in",
       }) {
    EXPECT_THAT(run.out, HasSubstr(finding));
  }
}

TEST_F(TsenvTest, RegValuesAreReadAndWrittenAsModulesSeeThem) {
  expectSteps({
      {{"reg", "get", "HKCU\\SOFTWARE\\Quarzel\\Tessaline\\QVRConnect", "qvrconnect"}, "1\n"},
      {{"reg", "set", "Kernel Services", "My Tessaline Directory", "/work/mine"}, ""},
      {{"expand", "<MYTESSALINE>\\a"}, "/work/mine\\a\n"},
      {{"reg", "set", "Kernel Services", "Count", "-0x10", "--dword"}, ""},
      {{"reg", "get", "Kernel Services", "Count"}, "-16\n"},
      {{"reg", "set", "HKLM\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services", "Help Platform",
        "cad"},
       ""},
      {{"reg", "get", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services"},
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services]\n"
       "\"Help Platform\"=\"cad\"\n\n"},
      {{"reg", "delete", "Kernel Services", "Count"}, ""},
      {{"reg", "get", "Kernel Services", "Count"}, "", 1},
      {{"reg", "delete", "Tessaline modules"}, ""},
      {{"domain"}, "\n"},
  });
}

TEST_F(TsenvTest, RegExportThenImportIntoAnEmptyRegistryGivesTheSameSettings) {
  // A file from the registry editor, in UTF-16, replays as it imports:
  // deletions where they stand, every type of value kept.
  const std::string modules = std::string(kSuite) + "\\19.01\\RA_Zora\\Tessaline modules]\r\n";
  std::string changes = "\xFF\xFE";
  for (const char c : std::string(kHeader) + "[-" + modules + "[" + modules +
                          "\"ActiveDomainKey\"=\"SURVEY\"\r\n[" + kSuite +
                          "\\19.01\\RA_Zora\\Kernel Services]\r\n\"Language\"=-\r\n"
                          "\"Data\"=hex:01,02\r\n\"Path\"=hex(2):25,00,54,00,00,00\r\n") {
    changes += {c, '\0'};
  }
  writeFile(scratch("changes.reg"), changes);
  EXPECT_EQ(tsenv({"reg", "import", scratch("changes.reg").string()}).status, 0);
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Language"}).status, 1);
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Path"}).out, "%T\n");
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Data"}).out, "\"Data\"=hex:01,02\n");
  EXPECT_EQ(tsenv({"last-command"}).out, "\n");

  ASSERT_EQ(tsenv({"reg", "export", scratch("sample.reg").string()}).status, 0);
  const std::string exported = readFile(scratch("sample.reg"));
  EXPECT_TRUE(exported.starts_with(kHeader));
  for (const char* line : {"\"Current Config\"=\"Road\"\r\n", "\"ActiveDomainKey\"=\"SURVEY\"\r\n",
                           "\"Data\"=hex:01,02\r\n", "\"Path\"=hex(2):25,00,54,00,00,00\r\n"}) {
    EXPECT_THAT(exported, HasSubstr(line));
  }
  useEmptySettings();
  EXPECT_EQ(tsenv({"domain"}).out, "\n");
  const Outcome imported = tsenv({"reg", "import", scratch("sample.reg").string()});
  EXPECT_EQ(imported.status, 0) << imported.err;
  ASSERT_EQ(tsenv({"reg", "export", scratch("again.reg").string()}).status, 0);
  EXPECT_EQ(readFile(scratch("again.reg")), exported);
  EXPECT_EQ(tsenv({"domain"}).out, "SURVEY\n");
}

} // namespace
} // namespace tsenv::tests
