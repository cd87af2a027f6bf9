// The exceptions, defaults and mapping files read through the C runtime's
// text mode, and the "Use CHM Help" switch read from the real registry.
#include "HelpAppFolder.h"

#include "help/HelpInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace tsen::testing {
namespace {

constexpr const char* kExceptions = "Tessaline_Wiki_Exeptions.cfg";
constexpr const char* kDefaults = "Tessaline_Help_Defaults.cfg";
constexpr const char* kMapping = "Tessaline_Wiki_Help_Language_Mapping.cfg";

class HelpConfigWine : public ::testing::Test {
protected:
  void SetUp() override { setLanguageCode("NOR"); }
  ProductKeysGuard keys;
  HelpAppFolder app;
};

// Each reader's answer as text: "<result>/<language>" for the exceptions,
// the value or "-" for the defaults, the wiki language for the mapping.
using Reader = std::function<std::string(const std::string& query)>;
const Reader exceptions = [](const std::string& domain) {
  std::string language = "NOR";
  const int result = help::ReadWikiException(domain, language);
  return std::to_string(result) + "/" + language;
};
const Reader defaults = [](const std::string& key) {
  std::string value = "-";
  help::ReadHelpDefault(key, value);
  return value;
};
const Reader mapping = [](const std::string&) { return help::ReadWikiLanguageMapping(); };

// Comment lines that fill the file up to start bytes (line ends counted as
// written), so that the next line ends where a test wants it.
std::string fillTo(std::size_t start, bool crlf) {
  const std::size_t lineEnd = crlf ? 2 : 1;
  std::string filler;
  for (std::size_t left = start; left > 0;) {
    std::size_t bytes = std::min<std::size_t>(left, 64);
    if (left > bytes && left - bytes < 2 + lineEnd) {
      bytes -= 2 + lineEnd; // room for one more whole comment line
    }
    filler += "//" + std::string(bytes - 2 - lineEnd, 'c') + "\n";
    left -= bytes;
  }
  return filler;
}

TEST_F(HelpConfigWine, CrLfFilesAnswerAsLfFiles) {
  const std::string longValue(1019, 'v'); // "NOR=" and 1019 fill one fgets buffer
  const struct {
    const char* file;
    const Reader& read;
    std::string content, query, expected;
  } cases[] = {
      {kExceptions, exceptions, "ROAD;NOR=CHM;\n", "road", "2/NOR"},
      {kExceptions, exceptions, "ROAD;NOR=n\n", "ROAD", "1/n"},
      {kExceptions, exceptions, "ROAD;NOR=\n", "ROAD", "1/"},
      {kExceptions, exceptions, "ROAD;NOR=n;\n", "ROAD", "0/NOR"},
      {kExceptions, exceptions, "  road\t;NOR= no \n", "ROAD", "1/ no"},
      {kExceptions, exceptions, "ROAD;DAN=da;\nROAD;NOR=no;\n", "ROAD", "0/NOR"},
      {kExceptions, exceptions, "RAIL;NOR=CHM;\n;NOR=no;\n", "", "1/no"},
      {kDefaults, defaults, "ROAD; road help ;\n", "road", "roadhelp"},
      {kDefaults, defaults, "ROAD;road\nROAD;;\nROAD;second;\n", "ROAD", "second"},
      {kDefaults, defaults, "ROAD;help;//note\nROAD;//x;\n", "ROAD", "help"},
      {kDefaults, defaults, "ROAD;road", "ROAD", "-"},
      {kMapping, mapping, "DAN=da\n\tn O r\t=\tn o//x\nNOR=nb\n", "", "no"},
      {kMapping, mapping, "NOR=\nNOR=no\n", "", ""},
      {kMapping, mapping, "NOR=no", "", "no"},
      {kMapping, mapping, "", "", "en"},
      // Text mode ends the file at Ctrl-Z.
      {kMapping, mapping, "DAN=da\n\x1ANOR=no\n", "", "en"},
      {kMapping, mapping, "NOR=n\x1Ao\n", "", "n"},
      // A long line comes in pieces of 1023 characters.
      {kMapping, mapping, "NOR=" + longValue.substr(1) + "\n", "", longValue.substr(1)},
      {kMapping, mapping, "NOR=" + longValue + "\n", "", longValue},
      {kMapping, mapping, "NOR=" + longValue + "w\nNOR=x\n", "", longValue},
      {kMapping, mapping, "DAN=" + longValue + "NOR=w\n", "", "w"},
  };
  for (const auto& c : cases) {
    for (const bool crlf : {false, true}) {
      app.writeHelp(c.file, c.content, crlf);
      EXPECT_EQ(c.read(c.query), c.expected)
          << (crlf ? "CR LF " : "LF ") << c.file << ": " << c.content.substr(0, 80);
    }
    app.removeHelpFile(c.file);
  }
}

TEST_F(HelpConfigWine, LineEndsAcrossTheRuntimeReadBufferAreFolded) {
  // The line's end (its line feed, or the CR of its CR LF) at and around
  // offset 4096, where the runtime refills its buffer.
  for (const bool crlf : {false, true}) {
    for (std::size_t end = 4090; end <= 4100; ++end) {
      const std::string mappingLine = "NOR=no", exceptionLine = "ROAD;NOR=nn";
      app.writeHelp(kMapping, fillTo(end - mappingLine.size(), crlf) + mappingLine + "\n", crlf);
      app.writeHelp(kExceptions, fillTo(end - exceptionLine.size(), crlf) + exceptionLine + "\n",
                    crlf);
      EXPECT_EQ(mapping(""), "no") << (crlf ? "CR LF " : "LF ") << "ending at " << end;
      EXPECT_EQ(exceptions("ROAD"), "1/nn") << (crlf ? "CR LF " : "LF ") << "ending at " << end;
    }
  }
}

// Text mode folds each CR LF pair once; a CR in front of the pair is text.
TEST_F(HelpConfigWine, OnlyTheCarriageReturnOfAPairIsDropped) {
  app.writeHelp(kMapping, "NOR=no\r\r\n");
  EXPECT_EQ(mapping(""), "no\r");
  app.writeHelp(kDefaults, "ROAD;a\rb;\r\n");
  EXPECT_EQ(defaults("ROAD"), "a\rb");
}

TEST_F(HelpConfigWine, MissingFilesAndFoldersInTheirPlaceGiveTheNotFoundAnswers) {
  EXPECT_EQ(exceptions("ROAD"), "0/NOR");
  EXPECT_EQ(defaults("ROAD"), "-");
  EXPECT_EQ(mapping(""), "");
  for (const char* file : {kExceptions, kDefaults, kMapping}) {
    app.makeHelpFolder(file);
  }
  EXPECT_EQ(exceptions("ROAD"), "0/NOR");
  EXPECT_EQ(defaults("ROAD"), "-");
  EXPECT_EQ(mapping(""), "");
}

TEST_F(HelpConfigWine, AFileHeldOpenWithoutSharingIsNotRead) {
  app.writeHelp(kExceptions, "ROAD;NOR=CHM;\n");
  app.writeHelp(kDefaults, "ROAD;help;\n");
  app.writeHelp(kMapping, "NOR=no\n");
  std::vector<platform::win32::UniqueHandle> held;
  for (const char* file : {kExceptions, kDefaults, kMapping}) {
    held.emplace_back(CreateFileA(app.help(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.back().get(), INVALID_HANDLE_VALUE);
    ASSERT_EQ(std::fopen(app.help(file).c_str(), "r"), nullptr) << file;
  }
  EXPECT_EQ(exceptions("ROAD"), "0/NOR");
  EXPECT_EQ(defaults("ROAD"), "-");
  EXPECT_EQ(mapping(""), "");
  held.clear();
  EXPECT_EQ(exceptions("ROAD"), "2/NOR");
  EXPECT_EQ(defaults("ROAD"), "help");
  EXPECT_EQ(mapping(""), "no");
}

TEST_F(HelpConfigWine, UseChmHelpIsTheNumberOneInTheRegistry) {
  app.writeHelp(kExceptions, "ROAD;NOR=no;\n");
  const struct {
    const char* name;
    std::optional<RawValue> setting;
    std::string expected;
  } cases[] = {
      {"missing", std::nullopt, "1/no"},
      {"dword 1", RawValue{REG_DWORD, dwordBytes(1)}, "2/NOR"},
      {"dword 2", RawValue{REG_DWORD, dwordBytes(2)}, "1/no"},
      {"dword 0x10001", RawValue{REG_DWORD, dwordBytes(0x10001)}, "1/no"},
      // Four bytes or fewer are read from the lowest byte up, whatever the type.
      {"binary 01", RawValue{REG_BINARY, {1}}, "2/NOR"},
      {"text 1", RawValue{REG_SZ, bytesOf(std::string("1", 2))}, "1/no"},
      // More than four bytes do not read.
      {"qword 1", RawValue{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, "1/no"},
  };
  const auto kernel = createRaw(HKEY_CURRENT_USER, kKernel1840);
  for (const auto& c : cases) {
    RegDeleteValueA(kernel.get(), "Use CHM Help");
    if (c.setting) {
      ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kKernel1840, "Use CHM Help", c.setting->type,
                           c.setting->bytes));
    }
    EXPECT_EQ(exceptions("ROAD"), c.expected) << c.name;
  }
  // The switch of the other layout does not count.
  ASSERT_TRUE(setFlag(1));
  EXPECT_EQ(exceptions("ROAD"), "1/no");
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kKernel1901, "Use CHM Help", REG_DWORD, dwordBytes(1)));
  EXPECT_EQ(exceptions("ROAD"), "2/NOR");
}

} // namespace
} // namespace tsen::testing
