// tsenv's subcommands on a scratch copy of the sample installation and settings, with the
// user folders below it and, alone on PATH, a stand-in browser that notes what it opens.
// Each test runs in a process of its own: the environment needs no undoing.
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace tsenv::tests {
namespace {

namespace fs = std::filesystem;
using tsen::testsupport::backslashed;

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// For EXPECT_TRUE/EXPECT_FALSE, showing the text when it matters.
::testing::AssertionResult holds(const std::string& text, const std::string& part) {
  return ::testing::AssertionResult(text.find(part) != std::string::npos)
         << "\"" << part << "\" in: " << text;
}

// A path of the library's as tsenv shows it to a person: as the host writes it.
std::string shown(std::string path) {
  std::ranges::replace(path, '\\', '/');
  return path;
}

// A tsenv command line with what it printed and answered, or must.
struct Call {
  std::vector<std::string> arguments;
  std::string out;
  int status = 0;
  std::string err = {};
};

class TsenvTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::copy(fs::path(TSENV_EXAMPLES) / "installation", suite(), fs::copy_options::recursive);
    fs::create_directories(suite() / "Binaries");
    fs::copy_file(TSENV_PROGRAM, program());
    fs::copy_file(fs::path(TSENV_EXAMPLES) / "settings.reg", root_ / "registry.reg");
    ::setenv("TSEN_REGISTRY", (root_ / "registry.reg").c_str(), 1);
    for (const char* variable : {"XDG_CONFIG_HOME", "HOME", "TMPDIR", "XDG_DATA_DIRS", "PATH"}) {
      fs::create_directories(root_.path() / variable); // a folder of its own, named after it
      ::setenv(variable, (root_ / variable).c_str(), 1);
    }
    fs::permissions(root_.write("PATH/xdg-open",
                                "#!/bin/sh\necho \"$0 $*\" >> '" + (root_ / "opened.log") + "'\n"),
                    fs::perms::owner_all);
  }

  fs::path suite() const { return root_.path() / "Suite"; }
  fs::path program() const { return suite() / "Binaries" / fs::path(TSENV_PROGRAM).filename(); }
  std::string app() const { return backslashed(suite()); }
  fs::path userData() const {
    return root_.path() / "XDG_CONFIG_HOME/Quarzel/Tessaline/19.01/RA_Zora/Road";
  }

  Call tsenv(const std::vector<std::string>& arguments) const {
    std::string line = "cd '" + root_.path().string() + "' && '" + program().string() + "'";
    for (const std::string& argument : arguments) {
      line += " '" + std::regex_replace(argument, std::regex("'"), "'\\''") + "'";
    }
    const int raw = std::system((line + " >stdout.txt 2>stderr.txt </dev/null").c_str());
    return {arguments, readFile(root_ / "stdout.txt"), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            readFile(root_ / "stderr.txt")};
  }

  void expectSteps(const std::vector<Call>& steps) const {
    for (const Call& step : steps) {
      const Call run = tsenv(step.arguments);
      const std::string command = ::testing::PrintToString(step.arguments);
      EXPECT_EQ(run.out, step.out) << command;
      EXPECT_EQ(run.status, step.status) << command << ": " << run.err;
      if (step.status == 2) { // a bad command line
        EXPECT_TRUE(std::regex_match(run.err, std::regex("tsenv: [^\n]+\n"))) << run.err;
      }
    }
  }

  tsen::testsupport::ScratchFolder root_{"tsenv-test-"};
};

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const char* kRoadAddress = "https://help.quarzel.com/doku.php/no:ts:roads:alignment";

TEST_F(TsenvTest, InfoShowsTheSampleAnswersAsTextAndAsJson) {
  const Call text = tsenv({"info"}), run = tsenv({"info", "--json"});
  const auto json = nlohmann::ordered_json::parse(run.out);
  auto expected = nlohmann::ordered_json::parse(R"({
      "registry": {"layout": {"value": "19.01"}, "configuration": {"value": "Road"}},
      "language": {"code": {"value": "NOR"}, "name": {"value": "Norwegian"}},
      "version": {"feature_pack": {"value": 2}},
      "session": {"active_domain": {"value": "ROAD"}, "log_switch": {"value": true}},
      "help": {"base_url": {"value": "https://help.quarzel.com/"}}})");
  expected["folders"] = {
      {"application", {{"value", app()}, {"host_path", shown(app())}}},
      {"user_data",
       {{"value", backslashed(userData())}, {"host_path", shown(backslashed(userData()))}}}};
  auto merged = json;
  merged.merge_patch(expected); // changes nothing when json holds every expected answer
  EXPECT_EQ(merged, json) << nlohmann::ordered_json::diff(json, merged);
  // The text shows the same answers, with their origins.
  for (const auto& [group, facts] : json.items()) {
    for (const auto& [key, fact] : facts.items()) {
      const auto& value = fact.contains("host_path") ? fact.at("host_path") : fact.at("value");
      const std::string answer = value.is_boolean()  ? (value == true ? "on" : "off")
                                 : value.is_string() ? value.get<std::string>()
                                                     : value.dump();
      EXPECT_TRUE(holds(text.out, "  " + answer));
      EXPECT_TRUE(holds(text.out, "from: " + fact.at("source").get<std::string>() + "\n"));
    }
  }
}

TEST_F(TsenvTest, CommandsAnswerFromTheSampleSettingsAndStoreWhatModulesSee) {
  const std::string k1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
  fs::create_directories(userData()); // the library never creates it
  expectSteps(
      {{{"expand", "Help\\x@@.chm", "--base", "app", "--flags", "lang-marker,lang-subfolder"},
        shown(app() + "\\Help\\NOR\\xNOR.chm\n")},
       {{"expand", "<LangName>-<CURRENTCONFIG>", "--base", "99"}, "Norwegian-Road\n"},
       {{"resource", "Road"}, shown(app() + "\\Resources\\Road.RC.NOR.DLL\n")},
       {{"resource", "Bridge"}, "", 1},
       {{"exists", app() + "\\Help\\NOR"}, "exists\n"},
       {{"exists", app() + "\\Help\\DAN"}, "does not exist\n", 1},
       {{"last-command"}, "RoadAlign\n"},
       {{"domain", "SURVEY"}, ""},
       {{"domain"}, "SURVEY\n"},
       {{"last-command", "Align", "ROAD"}, ""},
       {{"last-command"}, "Align\n"},
       {{"log", "Profile", "*", "from tsenv"},
        "logged to " + shown(backslashed(userData() / "TessalineCommand.log")) + "\n"},
       {{"reg", "set", "Tessaline modules", "LogCommands", "2", "--dword"}, ""},
       {{"log", "Hidden", "X", ""}, "not logged: logging is off (LogCommands = 2)\n"},
       {{"reg", "set", "Kernel Services", "My Tessaline Directory", "/work/mine"}, ""},
       {{"expand", "<MYTESSALINE>\\a"}, shown("/work/mine\\a\n")},
       {{"reg", "delete", "Kernel Services", "My Tessaline Directory"}, ""},
       {{"reg", "delete", "Kernel Services", "My Tessaline Directory"}, "", 1},
       {{"reg", "set", "HKLM\\" + k1840, "Help Platform", "cad"}, ""},
       {{"reg", "get", "HKLM\\" + k1840},
        "[HKEY_LOCAL_MACHINE\\" + k1840 + "]\n\"Help Platform\"=\"cad\"\n\n"},
       {{"reg", "delete", "Tessaline modules"}, ""},
       {{"domain"}, "\n"}});
  const std::string log = readFile(userData() / "TessalineCommand.log"),
                    at = R"(;\d{4}\.\d\d\.\d\d, \d\d:\d\d:\d\d;ROAD;)";
  const std::regex entries("Align" + at + "\r?\nProfile" + at + "from tsenv\r?\n");
  EXPECT_TRUE(std::regex_match(log, entries)) << log;
}

TEST_F(TsenvTest, DryRunPrintsWhatWouldOpenAndOpensNothing) {
  const std::string road = std::string("open address: ") + kRoadAddress + "\n";
  expectSteps({{{"wiki", "0100", "--dry-run"}, road}, // decimal, not octal
               {{"help", "21", "RoadHelp", "--dry-run"}, road},
               {{"wiki", "55", "--only", "--dry-run"},
                "open address: https://help.quarzel.com/doku.php/no:ts:start\n"},
               {{"help", "7", "nohelp", "--dry-run"},
                "message box: Tessaline help: Unable to find help file \"" + app() +
                    "\\Help\\NOR\\nohelp.chm\" !\\n\\nTried to load English version \"" + app() +
                    "\\Help\\Eng\\nohelp.chm\", but was not found either.\nopen help: " + app() +
                    "\\Help\\Eng\\nohelp.chm 15 7\n"},
               {{"wiki", "100"}, ""}});
  // Only the last step, without --dry-run, opens: the stand-ins do note requests. The browser
  // may start seconds after tsenv returns, and its line is whole only once it ends.
  std::string requests;
  for (int tries = 0; tries < 600 && !(requests = readFile(root_ / "opened.log")).ends_with('\n');
       ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(holds(requests, kRoadAddress));
  EXPECT_EQ(std::ranges::count(requests, '\n'), 1) << requests;
}

TEST_F(TsenvTest, BadArgumentsAreOneLineAndChangeNothing) {
  root_.write("foreign.reg",
              std::string(kHeader) +
                  "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\18.40]\r\n\"A\"=\"b\"\r\n"
                  "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\r\n\"A\"=\"b\"\r\n");
  const std::string settings = readFile(root_ / "registry.reg");
  expectSteps({{{"frobnicate"}, "", 2},
               {{"wiki", "12x", "--dry-run"}, "", 2},
               {{"help", "", "RoadHelp", "--dry-run"}, "", 2},
               {{"log", "a", "b"}, "", 2},
               {{"domain", ""}, "", 2},
               {{"expand", "x", "--base", "nowhere"}, "", 2},
               {{"reg", "set", "HKCU\\SOFTWARE\\Other", "v", "x"}, "", 2},
               {{"reg", "set", "Kernel Services", "Language", "12x", "--dword"}, "", 2},
               {{"reg", "delete", "HKLM\\SOFTWARE\\Quarzel"}, "", 2},
               {{"reg", "import", (root_ / "foreign.reg")}, "", 2}});
  EXPECT_EQ(readFile(root_ / "registry.reg"), settings);
  EXPECT_FALSE(fs::exists(userData()));
}

TEST_F(TsenvTest, HelpCheckPassesTheSampleAndReportsEachPlantedFaultWithItsPlace) {
  const Call sample = tsenv({"help-check"});
  EXPECT_EQ(sample.status, 0) << sample.out;
  EXPECT_TRUE(holds(sample.out, "\n0 problems, "));
  const auto append = [&](const char* file, const std::string& text) {
    fs::create_directories((suite() / "Help" / file).parent_path());
    std::ofstream(suite() / "Help" / file, std::ios::binary | std::ios::app) << text;
  };
  append("Tessaline_Wiki_Exeptions.cfg", "BROKEN LINE\nPLAN;NOR=nb;nor=no;DAN=d;\nROAD;NOR=CHM;\n");
  append("Tessaline_Help_Defaults.cfg", "SURVEY;otherhelp;\nPLAN;\n");
  append("Tessaline_Wiki_Help_Language_Mapping.cfg", "FRA\nnor = nb\n");
  // Lines 10 and 11 are sound, the last past the Ctrl-Z (\032) that ends the file.
  append("WikiCfg/general.cfg",
         "1;general:again;\nabc;x:y;\n300;x:z;30;missinghelp;\n301;x:w;31,3x\n" +
             std::string(1100, 'a') +
             ";p;\n3;\tgeneral:x ; 5 ;generalhelp; // note\r\n\0321;general:hidden;\n");
  append("WikiCfg/more.cfg", "2;general:elsewhere;\n+0077;x:leading;\n");
  // Topics read as the library reads them; one finding for a line of 200 pieces.
  append("WikiCfg/big.cfg", "4294967297;x:big;\n2147483647;x:max;\n" + std::string(204600, 'x'));
  append("WikiCfg/ORPHAN/orphan.cfg", "5;orphan:start;\n");

  const Call run = tsenv({"help-check"});
  EXPECT_EQ(run.status, 1);
  for (const char* finding : {
           "Exeptions.cfg:5: no ';' after the domain",
           "Exeptions.cfg:6: language code 'nor' never matches",
           "Exeptions.cfg:6: value 'd' of DAN is ignored",
           "Exeptions.cfg:7: ROAD again: only its first line is read "
           "(Help\\Tessaline_Wiki_Exeptions.cfg:3)",
           "Defaults.cfg:5: SURVEY again: the first value wins "
           "(Help\\Tessaline_Help_Defaults.cfg:3)",
           "Defaults.cfg:6: no ';' after the value",
           "Mapping.cfg:7: no '='",
           "Mapping.cfg:8: NOR again: the first line wins "
           "(Help\\Tessaline_Wiki_Help_Language_Mapping.cfg:2)",
           "big.cfg:1: topic '4294967297' is not a number: read as 2147483647",
           "big.cfg:2: topic 2147483647 is defined again: Help\\WikiCfg\\big.cfg:1 wins",
           "topic 2 is defined again", // which file wins follows the listing order
           "general.cfg:5: topic 1 is defined again: Help\\WikiCfg\\general.cfg:2 wins",
           "general.cfg:6: topic 'abc' is not a number: read as 0",
           "Help\\Eng\\missinghelp.chm: missing (named by Help\\WikiCfg\\general.cfg:7)",
           "general.cfg:8: '31,3x' after the page is ignored",
           "general.cfg:9: longer than 1023 characters",
           "Help\\WikiCfg\\ORPHAN: domain folder without a line in",
           "Help\\NOR\\generalhelp.chm: note: missing (named by Help\\WikiCfg\\general.cfg:2)",
       }) {
    EXPECT_TRUE(holds(run.out, shown(finding)));
  }
  EXPECT_FALSE(holds(run.out, "general.cfg:10"));
  EXPECT_FALSE(holds(run.out, "general.cfg:11"));
  EXPECT_FALSE(holds(run.out, "more.cfg:2")); // +0077 is topic 77
  for (const char* once : {"big.cfg:3: no ';'", "big.cfg:3: longer than 1023"}) {
    const auto at = run.out.find(once);
    EXPECT_NE(at, std::string::npos) << once;
    EXPECT_EQ(run.out.find(once, at + 1), std::string::npos) << once;
  }
}

TEST_F(TsenvTest, HelpCheckTellsWhatHelpOpensForEveryTopicOfTheSample) {
  for (const char* useChmHelp : {"0", "1"}) {
    EXPECT_EQ(
        tsenv({"reg", "set", "Kernel Services", "Use CHM Help", useChmHelp, "--dword"}).status, 0);
    const std::string check = tsenv({"help-check"}).out;
    const std::regex request("help (\\d+) (\\S+): (.*)\n");
    std::vector<std::string> topics;
    for (auto line = std::sregex_iterator(check.begin(), check.end(), request);
         line != std::sregex_iterator(); ++line) {
      const auto& match = *line;
      topics.push_back(match[2].str() + " " + match[1].str());
      std::string opened = tsenv({"help", match[1], match[2], "--dry-run"}).out;
      opened = std::regex_replace(opened.substr(0, opened.size() - 1), std::regex("\n"), " | ");
      EXPECT_EQ(opened, match[3].str()) << match[0];
      EXPECT_TRUE(holds(opened, useChmHelp == std::string("0") ? "open address: " : "open help: "));
    }
    EXPECT_EQ(topics, (std::vector<std::string>{"generalhelp 1", "generalhelp 2", "generalhelp 3",
                                                "roadhelp 20", "roadhelp 21", "roadhelp 22"}))
        << check;
  }
}

// The file format and its round trip are pinned by the registry editor corpus (tests/regedit).
TEST_F(TsenvTest, RegExportThenImportIntoAnEmptyStoreGivesTheSameSettings) {
  const std::string modules =
      "HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules]\r\n";
  const std::string changes =
                        root_.write("changes.reg", kHeader + ("[-" + modules + "[" + modules) +
                                                       "\"ActiveDomainKey\"=\"SURVEY\"\r\n"),
                    sample = root_ / "sample.reg", again = root_ / "again.reg";
  expectSteps({{{"reg", "import", changes}, "imported " + changes + ": 3 changes\n"},
               {{"reg", "export", sample}, "wrote " + sample + "\n"}});
  ::setenv("TSEN_REGISTRY", (root_ / "empty.reg").c_str(), 1);
  expectSteps({{{"reg", "import", sample}, "imported " + sample + ": 13 changes\n"},
               {{"reg", "export", again}, "wrote " + again + "\n"}});
  EXPECT_EQ(readFile(again), readFile(sample));
}

} // namespace
} // namespace tsenv::tests
