#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <cstring>

namespace tsen::testing {
namespace {

constexpr std::string_view kKey = "Software\\TsEnTests\\Accessor";

fake::RegistryValue bytes(std::uint32_t type, std::string_view data) {
  return {type, std::vector<unsigned char>(data.begin(), data.end())};
}

using WinRegistryTest = FakeSystemTest;

TEST_F(WinRegistryTest, AccessorWithoutKeyFailsEveryReadAndWrite) {
  TsEnWinRegistry registry;
  TsEnLong number = 7;
  std::string text = "untouched";
  EXPECT_FALSE(registry.ReadLong("x", number));
  EXPECT_FALSE(registry.ReadString("x", text));
  EXPECT_FALSE(registry.WriteLong("x", 1));
  EXPECT_FALSE(registry.WriteString("x", "y"));
  EXPECT_EQ(number, 7);
  EXPECT_EQ(text, "untouched");
}

TEST_F(WinRegistryTest, OpenKeyCreatesOnlyWhenAsked) {
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kHKCU, std::string(kKey), false));
  EXPECT_FALSE(fake::keyExists(kHKCU, kKey));
  EXPECT_FALSE(fake::keyExists(kHKCU, "Software\\TsEnTests"));

  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  EXPECT_TRUE(fake::keyExists(kHKCU, "Software\\TsEnTests"));
  ASSERT_TRUE(registry.WriteString("Name", "Road"));
  EXPECT_EQ(fake::stringValue(kHKCU, kKey, "name"), "Road");
  // The key is held as opened, not as created: a later Create of the same
  // name really creates.
  fake::resetCalls();
  EXPECT_TRUE(registry.Create(kHKCU, std::string(kKey)));
  EXPECT_EQ(fake::calls().regCreateKey, 1);
}

TEST_F(WinRegistryTest, CreateOfTheHeldNameTouchesNothing) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(kHKCU, std::string(kKey)));
  fake::resetCalls();
  // Under any root: only the name counts.
  EXPECT_TRUE(registry.Create(kHKLM, std::string(kKey)));
  const fake::CallCounts calls = fake::calls();
  EXPECT_EQ(calls.regCreateKey + calls.regOpenKey + calls.regCloseKey, 0);
  EXPECT_FALSE(fake::keyExists(kHKLM, kKey));
  // A different spelling is another name.
  EXPECT_TRUE(registry.Create(kHKCU, "software\\TsEnTests\\Accessor"));
  EXPECT_EQ(fake::calls().regCreateKey, 1);
}

TEST_F(WinRegistryTest, CreateWithEmptyNameOnEmptyAccessorHoldsNoKey) {
  TsEnWinRegistry registry;
  EXPECT_TRUE(registry.Create(kHKCU, ""));
  EXPECT_EQ(fake::calls().regCreateKey, 0);
  EXPECT_FALSE(registry.WriteLong("x", 1));
}

TEST_F(WinRegistryTest, ReadStringTakesDataUpToTheFirstZero) {
  const struct {
    const char* name;
    fake::RegistryValue value;
    const char* expected;
  } cases[] = {
      {"terminated", bytes(platform::kRegSz, std::string_view("Road\0", 5)), "Road"},
      {"unterminated", bytes(platform::kRegSz, "Road"), "Road"},
      {"empty data", bytes(platform::kRegSz, ""), ""},
      {"expandable kept", bytes(platform::kRegExpandSz, std::string_view("%TEMP%\0", 7)), "%TEMP%"},
      {"multi string", bytes(platform::kRegMultiSz, std::string_view("a\0b\0\0", 5)), "a"},
      {"number", bytes(platform::kRegDword, std::string_view("AB\0\0", 4)), "AB"},
  };
  for (const auto& c : cases) {
    fake::setValue(kHKCU, kKey, c.name, c.value);
  }
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), false));
  for (const auto& c : cases) {
    std::string text = "before";
    EXPECT_TRUE(registry.ReadString(c.name, text)) << c.name;
    EXPECT_EQ(text, c.expected) << c.name;
  }
  std::string text = "before";
  EXPECT_FALSE(registry.ReadString("missing", text));
  EXPECT_EQ(text, "before");
}

TEST_F(WinRegistryTest, ReadLongTakesAtMostFourBytesLowestFirst) {
  fake::setDword(kHKCU, kKey, "dword", 0x12345678);
  fake::setValue(kHKCU, kKey, "two bytes", bytes(platform::kRegBinary, "\x01\x02"));
  fake::setValue(kHKCU, kKey, "qword", bytes(platform::kRegQword, std::string(8, '\x01')));
  fake::setString(kHKCU, kKey, "text one", "1");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), false));

  TsEnLong number = 0;
  EXPECT_TRUE(registry.ReadLong("dword", number));
  EXPECT_EQ(number, 0x12345678);
  number = 0x7F000000;
  EXPECT_TRUE(registry.ReadLong("two bytes", number));
  EXPECT_EQ(number, 0x7F000201);
  EXPECT_FALSE(registry.ReadLong("qword", number));
  number = 0;
  EXPECT_TRUE(registry.ReadLong("text one", number));
  EXPECT_EQ(number, '1'); // the text's bytes, not the number 1
  number = 5;
  EXPECT_FALSE(registry.ReadLong("missing", number));
  EXPECT_EQ(number, 5);
}

TEST_F(WinRegistryTest, WritesStoreTypeAndExactBytes) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  ASSERT_TRUE(registry.WriteString("empty", ""));
  ASSERT_TRUE(registry.WriteLong("number", -2));
  const std::string large(1 << 20, 'x');
  ASSERT_TRUE(registry.WriteString("large\\with\\backslashes", large));

  const auto empty = fake::value(kHKCU, kKey, "empty");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->type, platform::kRegSz);
  EXPECT_EQ(empty->data, std::vector<unsigned char>{0});
  const auto number = fake::value(kHKCU, kKey, "number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, platform::kRegDword);
  EXPECT_EQ(number->data, (std::vector<unsigned char>{0xFE, 0xFF, 0xFF, 0xFF}));
  std::string back;
  EXPECT_TRUE(registry.ReadString("LARGE\\WITH\\BACKSLASHES", back));
  EXPECT_EQ(back, large);
}

TEST_F(WinRegistryTest, CopiesShareOneKeyWhicheverOpensIt) {
  fake::createKey(kHKCU, "Software\\A");
  fake::createKey(kHKCU, "Software\\B");
  TsEnWinRegistry original;
  TsEnWinRegistry copy(original);
  ASSERT_TRUE(copy.OpenKey(kHKCU, "Software\\A", false));
  EXPECT_TRUE(original.WriteString("v", "through original"));
  EXPECT_EQ(fake::stringValue(kHKCU, "Software\\A", "v"), "through original");

  TsEnWinRegistry assigned;
  ASSERT_TRUE(assigned.OpenKey(kHKCU, "Software\\B", false));
  assigned = original;
  EXPECT_EQ(fake::openHandles(), 1) << "the key held before the assignment is closed";
  ASSERT_TRUE(original.OpenKey(kHKCU, "Software\\B", false));
  EXPECT_TRUE(assigned.WriteString("v", "through assigned"));
  EXPECT_EQ(fake::stringValue(kHKCU, "Software\\B", "v"), "through assigned");
}

TEST_F(WinRegistryTest, SharedKeyIsClosedOnceAfterTheLastCopy) {
  fake::createKey(kHKCU, "Software\\A");
  {
    auto first = std::make_unique<TsEnWinRegistry>();
    ASSERT_TRUE(first->OpenKey(kHKCU, "Software\\A", false));
    TsEnWinRegistry second(*first);
    TsEnWinRegistry third;
    third = second;
    third = third; // self-assignment keeps the state
    first.reset();
    EXPECT_EQ(fake::openHandles(), 1);
    EXPECT_TRUE(third.WriteLong("still open", 1));
    fake::resetCalls();
  }
  EXPECT_EQ(fake::openHandles(), 0);
  EXPECT_EQ(fake::calls().regCloseKey, 1);
}

TEST_F(WinRegistryTest, FailedOpenLeavesNoKeyEvenAfterHoldingOne) {
  fake::createKey(kHKCU, "Software\\A");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, "Software\\A", false));
  EXPECT_FALSE(registry.OpenKey(kHKCU, "Software\\Missing", false));
  EXPECT_FALSE(registry.WriteString("v", "x"));
  EXPECT_EQ(fake::openHandles(), 0);
}

TEST_F(WinRegistryTest, BadKeyPathsFailCleanly) {
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kHKCU, "\\Leading", true));
  EXPECT_FALSE(registry.OpenKey(kHKCU, "Double\\\\Backslash", true));
  EXPECT_FALSE(registry.WriteString("v", "x"));
  // An empty path names the root itself.
  EXPECT_TRUE(registry.OpenKey(kHKCU, "", false));
  EXPECT_TRUE(registry.WriteString("root value", "x"));
  EXPECT_EQ(fake::stringValue(kHKCU, "", "root value"), "x");
}

} // namespace
} // namespace tsen::testing
