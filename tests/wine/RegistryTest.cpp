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
  HKEY none = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &none),
            ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, key, true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, created));
  ASSERT_TRUE(registry.WriteLong("Number", 5));
  for (const auto& [at, name, type, bytes] :
       {std::tuple{key, "Number", REG_DWORD, std::string("\xFE\xFF\xFF\xFF")},
        {key, "Text", REG_SZ, std::string("a b", 4)},
        {created, "Number", REG_DWORD, std::string("\x05\0\0\0", 4)}}) {
    DWORD typeRead = REG_NONE, size = 16;
    std::string read(size, '\0');
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, at.c_str(), name, RRF_RT_ANY, &typeRead, read.data(),
                           &size),
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
    std::string data;
    std::string text;
    std::optional<TsEnLong> number;
  } cases[] = {
      {REG_SZ, "Roads", "Roads", std::nullopt},
      {REG_BINARY, "\x34\x12", "4\x12", 0x1234},
      {REG_DWORD, std::string("\xFE\xFF\xFF\xFF"), "\xFE\xFF\xFF\xFF", -2},
      {REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), "\x01", std::nullopt},
      {REG_SZ, std::string(5000, 'z') + '\0', std::string(5000, 'z'), std::nullopt},
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
}

} // namespace
