// The mapping file: "code=wiki language" lines for the product's language.
#include "HelpConfigFixture.h"

#include <gtest/gtest.h>

namespace tsen::testing {
namespace {

constexpr const char* kMappingFile = "Tessaline_Wiki_Help_Language_Mapping.cfg";

using HelpConfigMapping = HelpFilesTest;

TEST_F(HelpConfigMapping, TheFirstLineOfTheCodeGivesTheWikiLanguage) {
  setLanguageCode("nor"); // kept by the library once read
  const struct {
    std::string content, expected;
  } cases[] = {
      {"NOR = no\n", "no"},
      {"DAN=da\n\tn O r\t=\tn o//Norwegian\nNOR=nb\n", "no"},
      {"NOR==x/y\n", "=x/y"},
      // A matching line with nothing behind "=" answers empty.
      {"NOR=//no\nNOR=no\n", ""},
      // No matching line: the fallback.
      {"NORX=no\nXNOR=no\nNOR no\n=no\n//NOR=no\n", "en"},
      {"", "en"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : kLineEndings) {
      writeHelp(kMappingFile, c.content, crlf);
      EXPECT_EQ(help::ReadWikiLanguageMapping(), c.expected)
          << (crlf ? "CR LF " : "LF ") << c.content;
    }
  }
}

TEST_F(HelpConfigMapping, NoFileAnswersEmpty) {
  setLanguageCode("nor");
  EXPECT_EQ(help::ReadWikiLanguageMapping(), "");
}

TEST_F(HelpConfigMapping, CodesFoldOnlyAToZ) {
  setLanguageCode("n\xE4r");
  writeHelp(kMappingFile, "N\xC4R=first\nN\xE4R=second\n");
  EXPECT_EQ(help::ReadWikiLanguageMapping(), "second");
}

} // namespace
} // namespace tsen::testing
