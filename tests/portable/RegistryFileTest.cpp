// The registry file: value forms in both dialects, hand-written files, and
// the file shared by processes.
#include "TestFiles.h"

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;

constexpr auto npos = std::string::npos;

TEST_F(PortableRegistryTest, EveryValueTypeComesBackFromTheFileAsSetInBothDialects) {
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
    // Lines written, if they matter; REGEDIT4 (null: as 5) keeps 8-bit text.
    const char *version5, *regedit4;
  } cases[] = {
      {"Na\"me\\", kRegSz, "C:\\Dir \"q\"\\\0"s, R"("Na\"me\\"="C:\\Dir \"q\"\\")", nullptr},
      {"", kRegSz, "default\0"s, R"(@="default")", nullptr},
      {"Raw", kRegSz, "ab"s, R"("Raw"=hex(1):61,00,62,00)", R"("Raw"=hex(1):61,62)"},
      {"Multi", kRegMultiSz, "\xC3\xBC\0\0"s, R"("Multi"=hex(7):fc,00,00,00,00,00)",
       R"("Multi"=hex(7):c3,bc,00,00)"},
      {"Dword", kRegDword, "\x2a\0\0\0"s, R"("Dword"=dword:0000002a)", nullptr},
      {"Binary", kRegBinary, std::string(100, '\xa5'), nullptr, nullptr},
  };
  for (const bool regedit4 : {false, true}) {
    const std::string name = regedit4 ? "4.reg" : "5.reg";
    useRegistryFile(name, regedit4 ? "REGEDIT4\r\n" : "");
    const HKEY key = createKey("Software\\Types");
    for (const auto& value : cases) {
      ASSERT_TRUE(setValue(key, value.name, value.type, value.data)) << value.name;
    }
    const std::string text = readWhole(registryPath_);
    for (const auto& value : cases) {
      const char* line = regedit4 && value.regedit4 != nullptr ? value.regedit4 : value.version5;
      EXPECT_TRUE(line == nullptr || text.find(line + "\r\n"s) != npos) << line << regedit4;
    }
    EXPECT_NE(text.find("a5,a5,\\\r\n  a5,a5,"), npos) << "long data is wrapped";
    // A copy under another name is parsed afresh: nothing comes from memory.
    useRegistryFile("copy" + name, text);
    const HKEY reopened = createKey("Software\\Types");
    for (const auto& value : cases) {
      EXPECT_EQ(queryValue(reopened, value.name), (RegistryValue{value.type, value.data}))
          << value.name;
    }
  }
}

TEST_F(PortableRegistryTest, AHandWrittenFileReadsAsImportedAndKeepsItsLinesOnWrites) {
  std::string before =
      "Windows Registry Editor Version 5.00\r\n; by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Suite]\r\n"
      "\"Broken\"=dword:xyz\r\ngarbage\r\n"
      "\"Kept\"=hex:01,02,\\\r\n  03\r\n@=\"default\"\r\n\"Changed\"=\"old\"\r\n\r\n"
      "[HKEY_NOWHERE\\Software]\r\n\"Foreign\"=\"x\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Gone]\r\n\"Lost\"=\"y\"\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Suite]\n\"Deleted\"=\"z\"\n\"Deleted\"=-\n"
      "[unterminated";
  // Only the changed line differs; the added value ends the key's last section
  // with the file's first line ending; names keep the case they were made with.
  std::string after = before;
  after.replace(after.find("\"old\""), 5, "\"new\"");
  after.replace(after.find("=-\n"), 3, "=-\n\"Added\"=dword:00000001\r\n");
  after += "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Suite\\Child]\r\n\r\n";
  // As written by hand, and in UTF-16 as the registry editor writes.
  for (const bool wide : {false, true}) {
    const auto encoded = [wide](const std::string& text) {
      return wide ? "\xFF\xFE" + utf16(text) : text;
    };
    useRegistryFile(wide ? "16.reg" : "8.reg", encoded(before));
    const HKEY suite = createKey("SOFTWARE\\suite"); // names match in any case
    EXPECT_EQ(queryValue(suite, "kept"), (RegistryValue{kRegBinary, "\1\2\3"s}));
    ASSERT_TRUE(setValue(suite, "CHANGED", kRegSz, "new\0"s));
    ASSERT_TRUE(setValue(suite, "Added", kRegDword, "\1\0\0\0"s));
    createKey("software\\SUITE\\Child");
    EXPECT_EQ(readWhole(registryPath_), encoded(after)) << wide;
  }
}

TEST_F(PortableRegistryTest, NamesMatchWithoutRegardToCaseBeyondAscii) {
  const struct {
    const char *made, *asked;
    bool same;
  } cases[] = {
      {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xC5\x82\xC3\x93\x44\xC5\xB9", true}, // Łódź, łÓDŹ
      {"\xCE\xB1\xCE\xB2", "\xCE\x91\xCE\x92", true},                         // αβ, ΑΒ
      {"\xD0\xB6\xD1\x91", "\xD0\x96\xD0\x81", true},                         // жё, ЖЁ
      {"\xC3\xA9", "e", false},                                               // é is no e
      {"\xC3\xB7", "\xC3\x97", false}, // ÷ and × are no letters
      {"a\xFF", "A\xFF", true},        // a byte that is no text
  };
  for (const auto& names : cases) {
    createKey("Software\\"s + names.made);
    HKEY asked = nullptr;
    EXPECT_EQ(regOpenKey(kCurrentUser, ("Software\\"s + names.asked).c_str(), asked), names.same)
        << names.asked;
  }
}

TEST_F(PortableRegistryTest, TwoProcessesWritingAtOnceLoseNothingAndAreReadAfresh) {
  constexpr int kWrites = 200;
  HKEY key = nullptr;
  ASSERT_FALSE(regOpenKey(kCurrentUser, "Software\\Shared", key)); // read before they write
  ASSERT_TRUE(inChildProcesses(2, [&](int process) {
    bool written = regCreateKey(kCurrentUser, "Software\\Shared", key);
    for (int i = 0; written && i < kWrites; ++i) {
      written = setValue(key, std::to_string(process) + "." + std::to_string(i), kRegSz,
                         std::to_string(i) + '\0');
    }
    return written;
  }));
  ASSERT_TRUE(regOpenKey(kCurrentUser, "Software\\Shared", key));
  for (int i = 0; i < 2 * kWrites; ++i) {
    EXPECT_EQ(queryValue(key, std::to_string(i % 2) + "." + std::to_string(i / 2)),
              (RegistryValue{kRegSz, std::to_string(i / 2) + '\0'}));
  }
  const std::string text = readWhole(registryPath_);
  EXPECT_EQ(text.find("Software\\Shared]"), text.rfind("Software\\Shared]")) << "made once";
}

} // namespace
} // namespace tsen::platform::testing
