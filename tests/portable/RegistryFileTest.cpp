// The registry file: value forms, names, lines kept, encodings, queries, and
// the file shared by threads and processes.
#include "TestFiles.h"
#include "platform/portable/RegistryStore.h"

#include <sstream>
#include <thread>

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;
using portable::RegistryStore;

TEST_F(PortableRegistryTest, EveryValueTypeComesBackFromTheFileAsSet) {
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
    const char* lineInFile; // how the value must be written, when that matters
  } cases[] = {
      {"Escapes", kRegSz, "C:\\Dir \"quoted\"\\\0"s, R"("Escapes"="C:\\Dir \"quoted\"\\")"},
      {"Na\"me\\", kRegSz, "x\0"s, R"("Na\"me\\"="x")"},
      {"", kRegSz, "default\0"s, R"(@="default")"},
      {"Empty", kRegSz, "\0"s, R"("Empty"="")"},
      {"Unterminated", kRegSz, "abc"s, R"("Unterminated"=hex(1):61,00,62,00,63,00)"},
      {"Inner zero", kRegSz, "a\0b\0"s, nullptr},
      {"Line break", kRegSz, "a\r\nb\0"s, nullptr},
      {"Eight bit", kRegSz, "\xE9t\xE9\0"s, nullptr},
      {"Utf8", kRegSz, "Gr\xC3\xBC\xC3\x9F\0"s, nullptr},
      {"Expand", kRegExpandSz, "%T%\\x\0"s,
       R"("Expand"=hex(2):25,00,54,00,25,00,5c,00,78,00,00,00)"},
      {"Expand bytes", kRegExpandSz, "\xE9\xFF\0"s, nullptr},
      {"Multi", kRegMultiSz, "a\0bc\0\0"s, R"("Multi"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00)"},
      {"Dword", kRegDword, "\x2a\0\0\0"s, R"("Dword"=dword:0000002a)"},
      {"Short dword", kRegDword, "\x01\x02"s, R"("Short dword"=hex(4):01,02)"},
      {"Qword", kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s,
       R"("Qword"=hex(b):01,02,03,04,05,06,07,08)"},
      {"Binary", kRegBinary, std::string(100, '\xa5'), nullptr},
      {"None", kRegNone, ""s, R"("None"=hex(0):)"},
      {"Odd type", 0x1234, "\x00\xff"s, R"("Odd type"=hex(1234):00,ff)"},
  };
  const HKEY key = createKey("Software\\Quarzel\\Types");
  for (const auto& value : cases) {
    ASSERT_TRUE(setValue(key, value.name, value.type, value.data)) << value.name;
  }
  ASSERT_TRUE(regCloseKey(key));
  const std::string text = fileText();
  for (const auto& value : cases) {
    if (value.lineInFile != nullptr) {
      EXPECT_NE(text.find(value.lineInFile + "\r\n"s), std::string::npos) << value.lineInFile;
    }
  }
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 81u) << "long hex data is wrapped";
  }
  // A copy under another name is parsed afresh: nothing comes from memory.
  writeWhole(folder_ / "copy.reg", text);
  useRegistryFile(folder_ / "copy.reg");
  const HKEY reopened = createKey("Software\\Quarzel\\Types");
  for (const auto& value : cases) {
    EXPECT_EQ(queryValue(reopened, value.name), (StoredValue{value.type, value.data}))
        << value.name;
  }
  EXPECT_TRUE(regCloseKey(reopened));
}

TEST_F(PortableRegistryTest, NamesMatchInAnyCaseAndKeepTheCaseTheyWereCreatedWith) {
  const HKEY first = createKey("Software\\Quarzel\\Suite");
  ASSERT_TRUE(setValue(first, "Current Config", kRegSz, "Road\0"s));
  HKEY second = nullptr;
  ASSERT_TRUE(regOpenKey(kCurrentUser, "SOFTWARE\\quarzel\\SUITE", second));
  ASSERT_TRUE(setValue(second, "CURRENT CONFIG", kRegSz, "Rail\0"s));
  const HKEY child = createKey("software\\QUARZEL\\suite\\Child");
  EXPECT_EQ(queryValue(first, "current config"), (StoredValue{kRegSz, "Rail\0"s}));
  const std::string text = fileText();
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Quarzel\\Suite]\r\n"
                      "\"Current Config\"=\"Rail\"\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Quarzel\\Suite\\Child]"), std::string::npos);
  EXPECT_EQ(text.find("CONFIG"), std::string::npos);
  EXPECT_EQ(text.find("SUITE"), std::string::npos);
  for (const HKEY key : {first, second, child}) {
    EXPECT_TRUE(regCloseKey(key));
  }
}

TEST_F(PortableRegistryTest, LinesTheRegistryDoesNotUnderstandSurviveWrites) {
  const std::string before = "Windows Registry Editor Version 5.00\r\n"
                             "; written by hand\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Suite]\r\n"
                             "\"Broken\"=dword:xyz\r\n"
                             "\"Kept\"=hex:01,02,\\\r\n"
                             "  03\r\n"
                             "\"Changed\"=\"old\"\r\n"
                             "garbage without quotes\r\n"
                             "\r\n"
                             "[HKEY_NOWHERE\\Software]\r\n"
                             "\"Foreign\"=\"x\"\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Gone]\r\n"
                             "\"Lost\"=\"y\"\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Suite]\n"
                             "\"Deleted\"=\"z\"\n"
                             "\"Deleted\"=-\n"
                             "[unterminated";
  writeWhole(registryPath_, before);
  const HKEY suite = createKey("Software\\Suite");
  HKEY gone = nullptr;
  EXPECT_FALSE(regOpenKey(kCurrentUser, "Software\\Gone", gone));
  EXPECT_FALSE(queryValue(suite, "Broken"));
  EXPECT_FALSE(queryValue(suite, "Deleted"));
  EXPECT_EQ(queryValue(suite, "Kept"), (StoredValue{kRegBinary, "\x01\x02\x03"s}));

  ASSERT_TRUE(setValue(suite, "Changed", kRegSz, "new\0"s));
  ASSERT_TRUE(setValue(suite, "Added", kRegDword, "\x01\0\0\0"s));
  const HKEY added = createKey("Software\\Added");
  std::string expected = before;
  expected.replace(expected.find("\"Changed\"=\"old\""), 15, "\"Changed\"=\"new\"");
  // Added after the last line of the key's last section, with the file's
  // first line ending; the new key at the end, after the unterminated line.
  expected.replace(expected.find("\"Deleted\"=-\n"), 12,
                   "\"Deleted\"=-\n\"Added\"=dword:00000001\r\n");
  expected += "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Added]\r\n\r\n";
  EXPECT_EQ(fileText(), expected);
  EXPECT_TRUE(regCloseKey(suite) && regCloseKey(added));
}

TEST_F(PortableRegistryTest, Utf16FilesFromRegeditAreReadAndStayUtf16) {
  const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                              u"[HKEY_CURRENT_USER\\Software\\Suite]\r\n"
                              u"\"Language\"=\"Gr\u00fc\u00dfe\"\r\n"
                              u"\"Path\"=hex(2):25,00,54,00,00,00\r\n"
                              u"\"Multi\"=hex(7):e9,00,00,00,00,00\r\n\r\n";
  const auto bytes = [](std::u16string_view units) {
    return std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2);
  };
  writeWhole(registryPath_, "\xFF\xFE" + bytes(text));
  const HKEY key = createKey("Software\\Suite");
  EXPECT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "Gr\xC3\xBC\xC3\x9F"
                                                              "e\0"s}));
  EXPECT_EQ(queryValue(key, "Path"), (StoredValue{kRegExpandSz, "%T\0"s}));
  EXPECT_EQ(queryValue(key, "Multi"), (StoredValue{kRegMultiSz, "\xC3\xA9\0\0"s}));
  ASSERT_TRUE(setValue(key, "Added", kRegSz, "x\0"s));
  const std::string after = fileText();
  EXPECT_TRUE(after.starts_with("\xFF\xFE" + bytes(text.substr(0, text.size() - 2))))
      << "old lines untouched";
  EXPECT_NE(after.find(bytes(u"\"Added\"=\"x\"\r\n")), std::string::npos);
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, QueriesFollowRegQueryValueExA) {
  const HKEY key = createKey("Software\\Suite");
  ASSERT_TRUE(setValue(key, "Text", kRegSz, "abcdef\0"s));
  ASSERT_TRUE(setValue(key, "Wide", kRegQword, std::string(8, '\1')));
  std::uint32_t size = 0;
  std::uint32_t type = 0;
  ASSERT_TRUE(regQueryValue(key, "Text", &type, nullptr, size));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(type, kRegSz);
  std::string buffer(6, '#');
  size = 6;
  EXPECT_FALSE(regQueryValue(key, "Text", nullptr, buffer.data(), size));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(buffer, "######");
  buffer.assign(10, '#');
  size = 10;
  ASSERT_TRUE(regQueryValue(key, "Text", nullptr, buffer.data(), size));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(buffer, "abcdef\0###"s);
  std::int32_t number = 0;
  size = sizeof number;
  EXPECT_FALSE(regQueryValue(key, "Wide", nullptr, &number, size));
  EXPECT_EQ(size, 8u);
  size = sizeof number;
  EXPECT_FALSE(regQueryValue(key, "Missing", &type, &number, size));
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, KeyHandlesFollowTheRegistryFunctions) {
  HKEY key = nullptr;
  EXPECT_FALSE(regOpenKey(kCurrentUser, "Software\\Missing", key));
  EXPECT_FALSE(regCreateKey(kCurrentUser, "\\Leading", key));
  EXPECT_FALSE(regCreateKey(kCurrentUser, "Double\\\\Separator", key));
  EXPECT_FALSE(pathFileExists(registryPath_)) << "failed calls write nothing";

  const HKEY suite = createKey("Software\\Suite\\");
  HKEY child = nullptr;
  ASSERT_TRUE(regCreateKey(suite, "Child", child));
  HKEY same = nullptr;
  ASSERT_TRUE(regOpenKey(kCurrentUser, "Software\\Suite\\Child", same));
  ASSERT_TRUE(setValue(child, "V", kRegSz, "1\0"s));
  EXPECT_EQ(queryValue(same, "v"), (StoredValue{kRegSz, "1\0"s}));
  HKEY root = nullptr;
  ASSERT_TRUE(regOpenKey(kLocalMachine, "", root));
  ASSERT_TRUE(setValue(root, "AtRoot", kRegDword, "\7\0\0\0"s));
  EXPECT_NE(fileText().find("[HKEY_LOCAL_MACHINE]\r\n\"AtRoot\"=dword:00000007"),
            std::string::npos);
  for (const HKEY open : {suite, child, same, root}) {
    EXPECT_TRUE(regCloseKey(open));
    EXPECT_FALSE(regCloseKey(open)) << "a handle closes once";
  }
  EXPECT_TRUE(regCloseKey(kCurrentUser));
  EXPECT_FALSE(setValue(child, "V", kRegSz, "2\0"s)) << "closed handles are refused";
}

TEST_F(PortableRegistryTest, AnUnchangedFileIsParsedOnlyOnce) {
  const HKEY key = createKey("Software\\Suite");
  ASSERT_TRUE(setValue(key, "Language", kRegSz, "Eng\0"s));
  const auto parsesAfterWrite = RegistryStore::instance().parseCount();
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "Eng\0"s}));
  }
  EXPECT_EQ(RegistryStore::instance().parseCount(), parsesAfterWrite);
  // Another program rewrites the file: the next read sees it, once.
  std::string text = fileText();
  text.replace(text.find("\"Eng\""), 5, "\"NOR\"");
  writeWhole(registryPath_, text);
  EXPECT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "NOR\0"s}));
  EXPECT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "NOR\0"s}));
  EXPECT_EQ(RegistryStore::instance().parseCount(), parsesAfterWrite + 1);
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, ProcessesWritingAtOnceLoseNothing) {
  constexpr int kWrites = 200;
  const auto valueName = [](int process, int i) {
    return "P" + std::to_string(process) + " value " + std::to_string(i);
  };
  ASSERT_TRUE(inChildProcesses(2, [&](int process) {
    HKEY key = nullptr;
    bool written = regCreateKey(kCurrentUser, "Software\\Shared", key);
    for (int i = 0; written && i < kWrites; ++i) {
      written = setValue(key, valueName(process, i), kRegSz, std::to_string(i) + '\0');
    }
    return written && regCloseKey(key);
  }));
  const HKEY key = createKey("Software\\Shared");
  for (int process = 0; process < 2; ++process) {
    for (int i = 0; i < kWrites; ++i) {
      EXPECT_EQ(queryValue(key, valueName(process, i)),
                (StoredValue{kRegSz, std::to_string(i) + '\0'}))
          << valueName(process, i);
    }
  }
  const std::string text = fileText();
  EXPECT_EQ(text.find("[HKEY_CURRENT_USER\\Software\\Shared]"),
            text.rfind("[HKEY_CURRENT_USER\\Software\\Shared]"))
      << "the key is made once";
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, ThreadsReadAndWriteAtOnce) {
  constexpr int kThreads = 4, kWrites = 25;
  std::vector<std::jthread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([thread] {
      const std::string path = "Software\\Thread " + std::to_string(thread);
      const HKEY key = createKey(path);
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = "V" + std::to_string(i);
        EXPECT_TRUE(setValue(key, name, kRegSz, path + '\0'));
        EXPECT_EQ(queryValue(key, name), (StoredValue{kRegSz, path + '\0'}));
      }
      EXPECT_TRUE(regCloseKey(key));
    });
  }
  threads.clear();
  // Every thread's values are in the file once all are done.
  for (int thread = 0; thread < kThreads; ++thread) {
    EXPECT_NE(fileText().find("[HKEY_CURRENT_USER\\Software\\Thread " + std::to_string(thread) +
                              "]\r\n\"V0\""),
              std::string::npos);
  }
}

} // namespace
} // namespace tsen::platform::testing
