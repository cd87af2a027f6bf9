// The exceptions file and the "Use CHM Help" switch.
#include "HelpConfigFixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace tsen::testing {
namespace {

using help::ExceptionLanguage;
using help::ExceptionNone;
using help::ExceptionUseChm;

class HelpConfigExceptions : public HelpFilesTest {
protected:
  void writeExceptions(std::string_view content, bool crlf = false) const {
    writeHelp("Tessaline_Wiki_Exeptions.cfg", content, crlf);
  }
  // The result, and the language as the reader leaves it.
  static std::pair<int, std::string> read(const std::string& domain, std::string language) {
    const int result = help::ReadWikiException(domain, language);
    return {result, language};
  }
};

TEST_F(HelpConfigExceptions, TheFirstLineOfTheDomainDecides) {
  const std::string longValue(700, 'v');
  const struct {
    std::string content, domain, language;
    int result;
    std::string languageAfter;
  } cases[] = {
      {"ROAD;NOR=CHM;\n", "road", "nor", ExceptionUseChm, "nor"},
      {"ROAD;DAN=da;NOR=cHm\n", "Road", "NOR", ExceptionUseChm, "NOR"},
      {"ROAD;NOR=CHMX;\n", "ROAD", "NOR", ExceptionLanguage, "CHMX"},
      {"ROAD;NOR=CHM;DAN=da;\n", "road", "dan", ExceptionLanguage, "da"},
      {"ROAD;NOR=no;\n", "ROAD", "DAN", ExceptionNone, "DAN"},
      // The code is searched in upper case, in the line as written, anywhere.
      {"ROAD;nor=no;\n", "ROAD", "nor", ExceptionNone, "nor"},
      {"ROAD;XNOR=no;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      // Closed by ";", a value needs two characters; at the line's end any length.
      {"ROAD;NOR=n;\n", "ROAD", "NOR", ExceptionNone, "NOR"},
      {"ROAD;NOR=n\n", "ROAD", "NOR", ExceptionLanguage, "n"},
      {"ROAD;NOR=\n", "ROAD", "NOR", ExceptionLanguage, ""},
      {"ROAD;NOR=" + longValue + "\n", "ROAD", "NOR", ExceptionLanguage, longValue},
      {"ROAD;NOR=no//;DAN=da;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      // The line loses the blanks at its ends, the domain those at its own.
      {"  road\t;NOR= no ;\n", "ROAD", "NOR", ExceptionLanguage, " no "},
      // The first line of the domain ends the search, usable or not.
      {"ROAD;DAN=da;\nROAD;NOR=no;\n", "ROAD", "NOR", ExceptionNone, "NOR"},
      {"ROAD NOR=CHM\nROADS;NOR=CHM;\nROAD;NOR=no;\n", "ROAD", "NOR", ExceptionLanguage, "no"},
      {";NOR=no;\n", "", "NOR", ExceptionLanguage, "no"},
      {";NOR=no;\n", "ROAD", "NOR", ExceptionNone, "NOR"},
      // Only a to z fold: the bytes 0xE4 and 0xC4 stay different letters.
      {"R\xE4"
       "D;NOR=no;\n",
       "r\xC4"
       "d",
       "NOR", ExceptionNone, "NOR"},
      {"R\xE4"
       "D;NOR=no;\n",
       "r\xE4"
       "d",
       "NOR", ExceptionLanguage, "no"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : kLineEndings) {
      writeExceptions(c.content, crlf);
      EXPECT_EQ(read(c.domain, c.language), std::pair(c.result, c.languageAfter))
          << (crlf ? "CR LF " : "LF ") << c.content << " for " << c.domain << "/" << c.language;
    }
  }
}

TEST_F(HelpConfigExceptions, UseChmHelpSetToOneShortCutsTheFile) {
  const auto dword = [](unsigned char n) {
    return fake::RegistryValue{platform::kRegDword, {n, 0, 0, 0}};
  };
  const struct {
    std::optional<fake::RegistryValue> setting;
    bool withFile;
    int result;
  } cases[] = {
      {dword(1), false, ExceptionUseChm},
      {dword(1), true, ExceptionUseChm},
      {dword(2), true, ExceptionLanguage},
      {std::nullopt, true, ExceptionLanguage},
      {std::nullopt, false, ExceptionNone},
      // The text "1" is not the number 1.
      {fake::RegistryValue{platform::kRegSz, {'1', 0}}, true, ExceptionLanguage},
  };
  for (const auto& c : cases) {
    fake::removeValue(kHKCU, kKernel1840, "Use CHM Help");
    if (c.setting) {
      fake::setValue(kHKCU, kKernel1840, "Use CHM Help", *c.setting);
    }
    std::filesystem::remove(app.path() / "Help" / "Tessaline_Wiki_Exeptions.cfg");
    if (c.withFile) {
      writeExceptions("ROAD;NOR=no;\n");
    }
    EXPECT_EQ(read("ROAD", "NOR"),
              std::pair(c.result, std::string(c.result == ExceptionLanguage ? "no" : "NOR")))
        << "with file " << c.withFile;
  }
  // A folder in the file's place does not open.
  std::filesystem::remove(app.path() / "Help" / "Tessaline_Wiki_Exeptions.cfg");
  std::filesystem::create_directories(app.path() / "Help" / "Tessaline_Wiki_Exeptions.cfg");
  EXPECT_EQ(read("ROAD", "NOR").first, ExceptionNone);
}

TEST_F(HelpConfigExceptions, UseChmHelpIsReadFromTheLayoutInForce) {
  setLayout19(true);
  writeExceptions("ROAD;NOR=no;\n");
  fake::setDword(kHKCU, kKernel1840, "Use CHM Help", 1);
  EXPECT_EQ(read("ROAD", "NOR").first, ExceptionLanguage);
  fake::setDword(kHKCU, kKernel1901, "Use CHM Help", 1);
  EXPECT_EQ(read("ROAD", "NOR").first, ExceptionUseChm);
}

} // namespace
} // namespace tsen::testing
