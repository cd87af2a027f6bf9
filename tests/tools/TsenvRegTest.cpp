// reg get|set|delete|export|import on the staged registry file.
#include "StagedSuite.h"

namespace tsenv::tests {
namespace {

using ::testing::HasSubstr;

using TsenvRegTest = StagedSuite;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

TEST_F(TsenvRegTest, ValuesAreReadAndWrittenAsModulesSeeThem) {
  struct Step {
    std::vector<std::string> arguments;
    std::string out;
    int status;
  };
  for (const Step& step : std::vector<Step>{
           {{"reg", "get", "Kernel Services", "Language"}, "NOR\n", 0},
           {{"reg", "get", "HKCU\\SOFTWARE\\Quarzel\\Tessaline\\QVRConnect", "qvrconnect"},
            "1\n",
            0},
           {{"reg", "set", "Kernel Services", "My Tessaline Directory", "/work/mine"}, "", 0},
           {{"expand", "<MYTESSALINE>\\a"}, "/work/mine\\a\n", 0},
           {{"reg", "set", "Kernel Services", "Count", "-0x10", "--dword"}, "", 0},
           {{"reg", "get", "Kernel Services", "Count"}, "-16\n", 0},
           {{"reg", "set", "HKLM\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services",
             "Help Platform", "cad"},
            "",
            0},
           {{"reg", "get",
             "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel "
             "Services"},
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services]\n"
            "\"Help Platform\"=\"cad\"\n\n",
            0},
           {{"reg", "delete", "Kernel Services", "Count"}, "", 0},
           {{"reg", "get", "Kernel Services", "Count"}, "", 1},
           {{"reg", "delete", "Kernel Services", "Count"}, "", 1},
           {{"reg", "delete", "Tessaline modules"}, "", 0},
           {{"domain"}, "\n", 0},
           {{"reg", "get", "Tessaline modules"}, "", 1},
       }) {
    const Outcome run = tsenv(step.arguments);
    const std::string shown = step.arguments.front() + " ... " + step.arguments.back();
    EXPECT_EQ(run.out, step.out) << shown;
    EXPECT_EQ(run.status, step.status) << shown << ": " << run.err;
  }
}

TEST_F(TsenvRegTest, ExportThenImportIntoAnEmptyRegistryGivesTheSameSettings) {
  ASSERT_EQ(tsenv({"reg", "export", scratch("sample.reg").string()}).status, 0);
  const std::string exported = readFile(scratch("sample.reg"));
  EXPECT_TRUE(exported.starts_with(kHeader));
  for (const char* line : {"[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\QVRConnect]\r\n"
                           "\"QVRConnect\"=dword:00000001\r\n",
                           "\"Current Config\"=\"Road\"\r\n", "\"ActiveDomainKey\"=\"ROAD\"\r\n"}) {
    EXPECT_THAT(exported, HasSubstr(line));
  }

  useEmptySettings();
  EXPECT_EQ(tsenv({"domain"}).out, "\n");
  const Outcome imported = tsenv({"reg", "import", scratch("sample.reg").string()});
  EXPECT_EQ(imported.status, 0) << imported.err;
  ASSERT_EQ(tsenv({"reg", "export", scratch("again.reg").string()}).status, 0);
  EXPECT_EQ(readFile(scratch("again.reg")), exported);
  EXPECT_EQ(tsenv({"domain"}).out, "ROAD\n");

  // A file replays as the registry editor imports it: deletions where they
  // stand, every type of value kept.
  writeFile(scratch("changes.reg"),
            std::string(kHeader) +
                "[-HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline "
                "modules]\r\n\r\n"
                "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel "
                "Services]\r\n\"Language\"=-\r\n\"Data\"=hex:01,02\r\n"
                "\"Path\"=hex(2):25,00,54,00,00,00\r\n");
  EXPECT_EQ(tsenv({"reg", "import", scratch("changes.reg").string()}).status, 0);
  EXPECT_EQ(tsenv({"domain"}).out, "\n");
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Language"}).status, 1);
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Path"}).out, "%T\n");
  EXPECT_EQ(tsenv({"reg", "get", "Kernel Services", "Data"}).out, "\"Data\"=hex:01,02\n");

  // The registry editor writes its files in UTF-16 with a byte order mark.
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string(kHeader) +
                          "[HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\"
                          "Tessaline modules]\r\n\"ActiveDomainKey\"=\"SURVEY\"\r\n") {
    utf16 += c;
    utf16 += '\0';
  }
  writeFile(scratch("regedit.reg"), utf16);
  EXPECT_EQ(tsenv({"reg", "import", scratch("regedit.reg").string()}).status, 0);
  EXPECT_EQ(tsenv({"domain"}).out, "SURVEY\n");
}

} // namespace
} // namespace tsenv::tests
