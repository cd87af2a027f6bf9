// The exported registry accessor against the real registry, whose calls
// decide value types and sizes, missing keys and values, and what a key
// deleted under an open handle does. Each test owns a scratch key.
#include "TsEnvironment.h"

#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace {

using namespace tsen::testing;

class WinRegistryTest : public ::testing::Test {
protected:
  WinRegistryTest() { deleteTree(HKEY_CURRENT_USER, path); }
  ~WinRegistryTest() override { deleteTree(HKEY_CURRENT_USER, path); }

  const std::string path =
      "Software\\TessalineTests\\" +
      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "." +
      std::to_string(GetCurrentProcessId());
};

TEST_F(WinRegistryTest, OpenKeyMakesTheWholePathOnlyWhenAskedAndWritesTypedValues) {
  const std::string key = path + "\\One\\Two";
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, key, false));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key));
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, key, true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));
  for (const auto& [name, type, bytes] : {std::tuple{"Number", REG_DWORD, dwordBytes(0xFFFFFFFEu)},
                                          {"Text", REG_SZ, bytesOf(std::string("a b", 4))}}) {
    const auto value = readRaw(HKEY_CURRENT_USER, key, name);
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(value->type, static_cast<DWORD>(type)) << name;
    EXPECT_EQ(value->bytes, bytes) << name;
  }
}

// The system hands out every type with its own size and adds no zero: text
// stops at the first zero; a number takes at most four bytes, lowest first.
// A missing value changes nothing.
TEST_F(WinRegistryTest, ReadsTakeEveryTypeAsTheSystemHandsItOut) {
  const struct {
    DWORD type;
    Bytes data;
    std::string text;
    std::optional<TsEnLong> number; // none when more than four bytes
  } cases[] = {
      {REG_SZ, bytesOf("Roads"), "Roads", std::nullopt},
      {REG_BINARY, Bytes{0x34, 0x12}, "4\x12", 0x1234},
      {REG_MULTI_SZ, bytesOf(std::string("one\0two\0\0", 9)), "one", std::nullopt},
      {REG_EXPAND_SZ, bytesOf(std::string("%TEMP%\\x", 9)), "%TEMP%\\x", std::nullopt},
      {REG_DWORD, dwordBytes(0xFFFFFFFEu), "\xFE\xFF\xFF\xFF", -2},
      {REG_SZ, bytesOf(std::string("1", 2)), "1", 0x31},
      {REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, "\x01", std::nullopt},
      {REG_SZ, bytesOf(std::string(5000, 'z') + '\0'), std::string(5000, 'z'), std::nullopt},
  };
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, path, true));
  for (const auto& c : cases) {
    ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, path, "Value", c.type, c.data));
    std::string text = "previous";
    TsEnLong number = 7;
    EXPECT_TRUE(registry.ReadString("Value", text));
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(registry.ReadLong("Value", number), c.number.has_value()) << c.text.substr(0, 10);
    if (c.number) {
      EXPECT_EQ(number, *c.number) << c.text.substr(0, 10);
    }
  }
  std::string text = "kept";
  TsEnLong number = 42;
  EXPECT_FALSE(registry.ReadString("Missing", text));
  EXPECT_FALSE(registry.ReadLong("Missing", number));
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(number, 42);
}

// Create of the held name keeps the handle, even to a key deleted under it.
TEST_F(WinRegistryTest, CreateOfTheHeldNameKeepsTheKeyDeletedUnderIt) {
  const std::string key = path + "\\Created";
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, key));
  ASSERT_TRUE(registry.WriteLong("Value", 5));
  EXPECT_TRUE(readRaw(HKEY_CURRENT_USER, key, "Value"));
  deleteTree(HKEY_CURRENT_USER, key);
  EXPECT_TRUE(registry.Create(HKEY_CURRENT_USER, key));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key));
  EXPECT_FALSE(registry.WriteLong("Value", 6));
}

} // namespace
