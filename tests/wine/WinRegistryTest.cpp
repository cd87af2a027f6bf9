// The exported registry accessor against the real registry, where the
// system's calls decide: value types and sizes, missing keys and values,
// predefined roots and a key deleted under an open handle. Each test owns a
// scratch key below HKEY_CURRENT_USER.
#include "TsEnvironment.h"

#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

using namespace tsen::testing;

class WinRegistryTest : public ::testing::Test {
protected:
  WinRegistryTest() { deleteTree(HKEY_CURRENT_USER, path); }
  ~WinRegistryTest() override { deleteTree(HKEY_CURRENT_USER, path); }

  std::string below(const char* name) const { return path + "\\" + name; }
  static bool stored(const std::string& key, const char* name) {
    return readRaw(HKEY_CURRENT_USER, key, name).has_value();
  }

  const std::string path =
      "Software\\TessalineTests\\" +
      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "." +
      std::to_string(GetCurrentProcessId());
};

TEST_F(WinRegistryTest, OpenKeyMakesTheWholePathOnlyWhenAskedAndWritesTypedValues) {
  const std::string key = below("One\\Two");
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, key, false));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key));
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, key, true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Empty", ""));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));
  for (const auto& [name, type, bytes] : {std::tuple{"Number", REG_DWORD, dwordBytes(0xFFFFFFFEu)},
                                          {"Empty", REG_SZ, Bytes{0}},
                                          {"Text", REG_SZ, bytesOf(std::string("a b", 4))}}) {
    const auto value = readRaw(HKEY_CURRENT_USER, key, name);
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(value->type, static_cast<DWORD>(type)) << name;
    EXPECT_EQ(value->bytes, bytes) << name;
  }
}

// The system hands out every type with its own size and adds no zero: the
// accessor sizes its buffer, stops at the first zero, and reads a number
// from at most four bytes, lowest first. A missing value changes nothing.
TEST_F(WinRegistryTest, ReadsTakeEveryTypeAsTheSystemHandsItOut) {
  const struct {
    DWORD type;
    Bytes data;
    std::string text;
    std::optional<TsEnLong> number; // none when more than four bytes
  } cases[] = {
      {REG_SZ, bytesOf("Roads"), "Roads", std::nullopt},
      {REG_BINARY, Bytes{0x34, 0x12}, "4\x12", 0x1234},
      {REG_BINARY, bytesOf(std::string("ab\0cd", 5)), "ab", std::nullopt},
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

TEST_F(WinRegistryTest, CreateOfTheHeldNameTouchesNoRootAndNoKey) {
  const std::string key = below("Created");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, key));
  // The root is not compared: nothing is made under the other root.
  EXPECT_TRUE(registry.Create(HKEY_LOCAL_MACHINE, key));
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, key));
  ASSERT_TRUE(registry.WriteLong("Value", 5));
  EXPECT_TRUE(stored(key, "Value"));
  // Nor is a key deleted under the held handle made again.
  deleteTree(HKEY_CURRENT_USER, key);
  EXPECT_TRUE(registry.Create(HKEY_CURRENT_USER, key));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key));
}

// An empty name would open the predefined root itself.
TEST_F(WinRegistryTest, CreateWithEmptyNameOnEmptyAccessorHoldsNoKey) {
  TsEnWinRegistry registry;
  EXPECT_TRUE(registry.Create(HKEY_CURRENT_USER, ""));
  EXPECT_FALSE(registry.WriteString("TessalineTestsStray", "x"));
  const bool strayWritten = stored("", "TessalineTestsStray");
  RegDeleteKeyValueA(HKEY_CURRENT_USER, nullptr, "TessalineTestsStray");
  EXPECT_FALSE(strayWritten);
}

} // namespace
