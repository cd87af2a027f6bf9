// The defaults file: "key;value;" lines naming a domain's compiled help.
#include "HelpConfigFixture.h"

#include <gtest/gtest.h>

namespace tsen::testing {
namespace {

using HelpConfigDefaults = HelpFilesTest;

// The value read for key; "-" when the reader left it alone.
std::string readDefault(const std::string& key) {
  std::string value = "-";
  help::ReadHelpDefault(key, value);
  return value;
}

TEST_F(HelpConfigDefaults, TheFirstLineWithAValueForTheKeyServes) {
  const struct {
    std::string content, key, expected;
  } cases[] = {
      {"ROAD; road help ;\n", "road", "roadhelp"},
      {"\t Road\t;\th\t;more;\n", "ROAD", "h"},
      {"ROAD;first;\nROAD;second;\n", "ROAD", "first"},
      {"ROAD;help;//note\n", "ROAD", "help"},
      {"ROAD;//help;\n", "ROAD", "-"},
      {"ROAD;a/b;\n", "ROAD", "a/b"},
      // A line that gives no value lets a later line of the key serve.
      {"ROAD;road\nROAD;;\nROAD;  ;\nROAD;\nROAD help\nROAD;second;\n", "ROAD", "second"},
      {"ROAD;road\n", "ROAD", "-"},
      // Keys are compared whole, folding a to z only.
      {"ROADS;h;\nROAD;x;\n", "ROAD", "x"},
      {"ROAD;h;\n", "ROADS", "-"},
      {"R\xE4"
       "D;h;\n",
       "R\xC4"
       "D",
       "-"},
      {"R\xE4"
       "D;h;\n",
       "r\xE4"
       "d",
       "h"},
      {";h;\n", "", "h"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : kLineEndings) {
      writeHelp("Tessaline_Help_Defaults.cfg", c.content, crlf);
      EXPECT_EQ(readDefault(c.key), c.expected)
          << (crlf ? "CR LF " : "LF ") << c.content << " for " << c.key;
    }
  }
}

TEST_F(HelpConfigDefaults, NoFileGivesNoValue) {
  EXPECT_EQ(readDefault("ROAD"), "-");
}

} // namespace
} // namespace tsen::testing
