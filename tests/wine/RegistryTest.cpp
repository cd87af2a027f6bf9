// The exported registry accessor against the real registry, in scratch keys,
// and the sample settings imported into the product keys.
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"

#include <algorithm>
#include <tuple>

namespace {

using namespace tsen::testing;

class WinRegistryTest : public ::testing::Test {
protected:
  WinRegistryTest() { deleteTree(HKEY_CURRENT_USER, path); }
  ~WinRegistryTest() override { deleteTree(HKEY_CURRENT_USER, path); }

  const std::string path = "Software\\TessalineTests\\" + std::to_string(GetCurrentProcessId());
};

TEST_F(WinRegistryTest, KeysAreMadeUnderTheGivenRootOnlyWhenAskedAndOpenedWritable) {
  const std::string key = path + "\\One\\Two", created = path + "\\Created";
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, key, false));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key));
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, key, true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, created));
  ASSERT_TRUE(registry.WriteLong("Number", 5));
  for (const auto& [at, name, type, bytes] :
       {std::tuple{key, "Number", REG_DWORD, dwordBytes(0xFFFFFFFEu)},
        {key, "Text", REG_SZ, bytesOf(std::string("a b", 4))},
        {created, "Number", REG_DWORD, dwordBytes(5)}}) {
    const auto value = readRaw(HKEY_CURRENT_USER, at, name);
    ASSERT_TRUE(value) << at << name;
    EXPECT_EQ(value->type, static_cast<DWORD>(type)) << name;
    EXPECT_EQ(value->bytes, bytes) << name;
  }
}

// Data as the system hands it out, no zero added: text stops at the first
// zero; a number takes at most four bytes.
TEST_F(WinRegistryTest, ReadsTakeEveryTypeAsTheSystemHandsItOut) {
  const struct {
    DWORD type;
    Bytes data;
    std::string text;
    std::optional<TsEnLong> number;
  } cases[] = {
      {REG_SZ, bytesOf("Roads"), "Roads", std::nullopt},
      {REG_BINARY, Bytes{0x34, 0x12}, "4\x12", 0x1234},
      {REG_MULTI_SZ, bytesOf(std::string("one\0two\0\0", 9)), "one", std::nullopt},
      {REG_DWORD, dwordBytes(0xFFFFFFFEu), "\xFE\xFF\xFF\xFF", -2},
      {REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, "\x01", std::nullopt},
      {REG_SZ, bytesOf(std::string(5000, 'z') + '\0'), std::string(5000, 'z'), std::nullopt},
  };
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, path, true));
  for (const auto& c : cases) {
    ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, path, "Value", c.type, c.data));
    std::string text;
    TsEnLong number = 7;
    EXPECT_TRUE(registry.ReadString("Value", text));
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(registry.ReadLong("Value", number), c.number.has_value()) << c.text.substr(0, 10);
    EXPECT_EQ(number, c.number.value_or(7)) << c.text.substr(0, 10);
  }
  std::string text = "kept";
  EXPECT_FALSE(registry.ReadString("Missing", text));
  EXPECT_EQ(text, "kept");
}

// What a user sends in from the host build replays here; the connection flag
// read from the real registry chooses the layout.
TEST(ProductKeysTest, SettingsFileImportsWithTheSystemsImporter) {
  const ProductKeysGuard guard;
  std::string file = TSEN_SAMPLE_SETTINGS;
  std::replace(file.begin(), file.end(), '/', '\\');
  EXPECT_EQ(exitCodeOf(startProcess("regedit.exe /S \"Z:" + file + "\"")), 0u);
  EXPECT_TRUE(TsEnQVRConnect());
  EXPECT_EQ(TsEnGetCurrentConfig() + TsEnGetLanguageCode(), "RoadNOR");
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "ROADRoadAlign");
}

} // namespace
