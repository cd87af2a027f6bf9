// The line rules every help file shares: trimming, comments, tabs and line
// feeds, pieces of long lines, and CR LF files.
#include "HelpConfigFixture.h"

#include <gtest/gtest.h>

namespace tsen::testing {
namespace {

TEST(HelpConfigLines, TrimBlanksRemovesOnlyTheBlankWhereTheModeSays) {
  const struct {
    std::string text;
    int mode;
    std::string expected;
  } cases[] = {
      {"  a b  ", 0, "a b"},
      {"  a b  ", 1, "a b  "},
      {"  a b  ", 2, "  a b"},
      {"  a b  ", 3, "ab"},
      {"   ", 0, ""},
      {"   ", 1, ""},
      {"   ", 2, ""},
      {"", 0, ""},
      // Other white space, a no-break space included, is text.
      {" \t\r\v\f\xA0 ", 0, "\t\r\v\f\xA0"},
      {"a\tb \xA0", 3, "a\tb\xA0"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    help::TrimBlanks(text, c.mode);
    EXPECT_EQ(text, c.expected) << "mode " << c.mode << " on \"" << c.text << "\"";
  }
}

TEST(HelpConfigLines, PrepareCutsTheCommentBeforeTabsBecomeBlanks) {
  const struct {
    std::string line;
    int mode;
    std::string expected;
  } cases[] = {
      {"ROAD;help;//note\n", help::TrimBoth, "ROAD;help;"},
      {"x / y // z // w", help::TrimBoth, "x / y"},
      {"///", help::TrimBoth, ""},
      // A slash, a tab or blank, a slash: no comment, even once the blank goes.
      {"100;a/\t/b;\n", help::TrimAll, "100;a//b;"},
      {"\tA\tB \n", help::TrimBoth, "A B"},
      {"\tA\n\tB \n", help::TrimAll, "AB"},
      {" A\r\n", help::TrimBoth, "A\r"},
  };
  std::string prepared = "left over from an earlier, much longer line";
  for (const auto& c : cases) {
    help::PrepareConfigLine(c.line, c.mode, prepared);
    EXPECT_EQ(prepared, c.expected) << "\"" << c.line << "\"";
  }
}

using HelpConfigLineFiles = HelpFilesTest;

// fgets hands out at most 1023 characters at a time; each piece is a line.
TEST_F(HelpConfigLineFiles, LongLinesAreExaminedInPiecesOf1023Characters) {
  setLanguageCode("nor");
  const struct {
    std::string content;
    std::string expected;
  } cases[] = {
      {"X=" + std::string(1021, 'x') + "NOR=no\n", "no"},
      {"NOR=" + std::string(1023, 'x') + "tail\n", std::string(1019, 'x')},
      // Blanks and comments still count towards the 1023.
      {std::string(1023, ' ') + "NOR=no\n", "no"},
      {"//" + std::string(1021, ' ') + "NOR=no\n", "no"},
      {"NOR" + std::string(1020, ' ') + "=no\n", "en"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : kLineEndings) {
      writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", c.content, crlf);
      EXPECT_EQ(help::ReadWikiLanguageMapping(), c.expected)
          << (crlf ? "CR LF, " : "LF, ") << c.content.size() << " characters";
    }
  }
}

// Text mode folds CR LF into LF before fgets sees the line, so a line whose
// CR LF straddles the 1023rd character still reads as one piece ending "\n".
TEST_F(HelpConfigLineFiles, CrLfAtTheEndOfAFullBufferReadsLikeLf) {
  setLanguageCode("nor");
  for (const bool crlf : kLineEndings) {
    SCOPED_TRACE(crlf ? "CR LF" : "LF");
    writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", "NOR=no" + std::string(1016, ' ') + "\n",
              crlf);
    EXPECT_EQ(help::ReadWikiLanguageMapping(), "no");
    std::string page;
    const std::string path =
        writeHelp("WikiCfg/a.cfg", "100;page" + std::string(1014, ' ') + "\n", crlf);
    EXPECT_TRUE(help::ReadWikiPageFromFile(100, path, page));
    EXPECT_EQ(page, "page");
  }
}

} // namespace
} // namespace tsen::testing
