// help-check against the sample Help folder and a copy with planted faults.
#include "StagedSuite.h"

namespace tsenv::tests {
namespace {

using ::testing::HasSubstr;

class TsenvHelpCheckTest : public StagedSuite {
protected:
  void SetUp() override {
    StagedSuite::SetUp();
    // The sample's defaults file names surveyhelp without installing it;
    // with its English file the sample is the good configuration.
    writeFile(suite() / "Help/Eng/surveyhelp.chm", "sample compiled help (English)\n");
  }
  void append(const std::string& file, const std::string& lines) {
    writeFile(suite() / "Help" / file, lines, true);
  }
};

TEST_F(TsenvHelpCheckTest, TheSampleConfigurationHasNoProblems) {
  const Outcome run = tsenv({"help-check"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("\n0 problems, "));
  // Notes tell what is fine but worth knowing: the domain's line wins, and
  // Norwegian users of generalhelp get the English file.
  EXPECT_THAT(run.out, HasSubstr("Help\\WikiCfg\\ROAD\\road.cfg:2: note: topic 100 overrides "
                                 "Help\\WikiCfg\\general.cfg:4 while the active domain is ROAD"));
  EXPECT_THAT(run.out, HasSubstr("Help\\NOR\\generalhelp.chm: note: missing"));
  EXPECT_THAT(run.out, HasSubstr("Help\\NOR\\surveyhelp.chm: note: missing"));
}

TEST_F(TsenvHelpCheckTest, FilesAreReadAsTheLibraryReadsThem) {
  // CR LF line ends, tabs and blanks, comments, and Ctrl-Z ending the file:
  // nothing after it is read.
  writeFile(suite() / "Help/WikiCfg/general.cfg",
            "1;\tgeneral:start ; 1 ;generalhelp; // the start page\r\n"
            "2 ; general:a/b ;2,3; generalhelp//\r\n\x1A"
            "not a topic line\r\n");
  writeFile(suite() / "Help/Tessaline_Help_Defaults.cfg",
            "\tROAD ; road help ;\r\nSURVEY;surveyhelp;\r\n");
  const Outcome run = tsenv({"help-check"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("\n0 problems, "));
  EXPECT_THAT(run.out, HasSubstr("Help\\NOR\\generalhelp.chm: note: missing (named by "
                                 "Help\\WikiCfg\\general.cfg:1)"));
}

TEST_F(TsenvHelpCheckTest, PlantedFaultsAreEachReportedWithTheirPlace) {
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
           "Help\\NOR\\missinghelp.chm: missing (named by Help\\WikiCfg\\general.cfg:7)\n",
           "Help\\WikiCfg\\general.cfg:8: '31,3x' after the page is ignored",
           "Help\\WikiCfg\\general.cfg:9: longer than 1023 characters",
           "topic 2 is defined again",
           "Help\\WikiCfg\\ORPHAN: domain folder without a line in",
       }) {
    EXPECT_THAT(run.out, HasSubstr(finding));
  }
}

} // namespace
} // namespace tsenv::tests
