// The exported registry accessor against the real registry, in scratch keys.
#include "TsEnvironment.h"

#include "WinSystem.h"

#include <optional>
#include <tuple>

namespace {

using namespace tsen::testing;

class WinRegistryTest : public ::testing::Test {
protected:
  WinRegistryTest() { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
  ~WinRegistryTest() override { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

  const std::string path = "Software\\TessalineTests\\" + std::to_string(GetCurrentProcessId());
};

TEST_F(WinRegistryTest, KeysAreMadeUnderTheGivenRootOnlyWhenAskedAndOpenedWritable) {
  const std::string key = path + "\\One\\Two", created = path + "\\Created";
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, key, false));
  EXPECT_FALSE(openRaw(HKEY_CURRENT_USER, key));
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, key, true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, created));
  ASSERT_TRUE(registry.WriteLong("Number", 5));
  for (const auto& [at, name, type, bytes] :
       {std::tuple{key, "Number", REG_DWORD, Bytes{0xFE, 0xFF, 0xFF, 0xFF}},
        {key, "Text", REG_SZ, bytesOf(std::string("a b", 4))},
        {created, "Number", REG_DWORD, Bytes{5, 0, 0, 0}}}) {
    DWORD typeRead = REG_NONE, size = 16;
    Bytes read(size);
    ASSERT_EQ(RegQueryValueExA(openRaw(HKEY_CURRENT_USER, at).get(), name, nullptr, &typeRead,
                               read.data(), &size),
              ERROR_SUCCESS)
        << at << name;
    read.resize(size);
    EXPECT_EQ(typeRead, static_cast<DWORD>(type)) << name;
    EXPECT_EQ(read, bytes) << name;
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
      {REG_DWORD, Bytes{0xFE, 0xFF, 0xFF, 0xFF}, "\xFE\xFF\xFF\xFF", -2},
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

} // namespace
