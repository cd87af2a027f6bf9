// The exported registry accessor against the real registry, each test in a
// scratch key of its own.
#include "TsEnvironment.h"

#include "RawRegistry.h"
#include "ScratchKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

using tsen::testing::Bytes;
using tsen::testing::bytesOf;
using tsen::testing::dwordBytes;
using tsen::testing::keyExists;
using tsen::testing::readRaw;
using tsen::testing::ScratchKey;
using tsen::testing::writeRaw;

class WinRegistryTest : public ::testing::Test {
protected:
  std::optional<tsen::testing::RawValue> stored(const std::string& path, const char* name) const {
    return readRaw(HKEY_CURRENT_USER, path, name);
  }
  ScratchKey scratch;
};

TEST_F(WinRegistryTest, AccessorWithoutKeyRefusesEveryValueOperation) {
  TsEnWinRegistry registry;
  TsEnLong number = 17;
  std::string text = "kept";
  EXPECT_FALSE(registry.ReadLong("Value", number));
  EXPECT_FALSE(registry.ReadString("Value", text));
  EXPECT_FALSE(registry.WriteLong("Value", 1));
  EXPECT_FALSE(registry.WriteString("Value", "x"));
  EXPECT_EQ(number, 17);
  EXPECT_EQ(text, "kept");
}

TEST_F(WinRegistryTest, OpenKeyWithoutCreateLeavesMissingKeyMissing) {
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, scratch.below("Missing"), false));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, scratch.below("Missing")));
  EXPECT_FALSE(registry.WriteString("Value", "x"));
}

TEST_F(WinRegistryTest, OpenKeyWithCreateMakesTheWholePathAndWritesThere) {
  const std::string path = scratch.below("One\\Two\\Three");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, path, true));
  ASSERT_TRUE(registry.WriteString("Name", "Road"));
  const auto value = stored(path, "Name");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value->bytes, bytesOf(std::string("Road", 5)));
}

TEST_F(WinRegistryTest, FailedOpenDropsTheKeyHeldBefore) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.below("Held"), true));
  EXPECT_FALSE(registry.OpenKey(HKEY_CURRENT_USER, scratch.below("Missing"), false));
  EXPECT_FALSE(registry.WriteLong("Value", 1));
  EXPECT_FALSE(stored(scratch.below("Held"), "Value"));
}

TEST_F(WinRegistryTest, CreateWithTheHeldNameKeepsTheKeyWhateverTheRoot) {
  const std::string path = scratch.below("Created");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, path));
  // The root is not compared: the key under HKEY_CURRENT_USER stays held
  // and nothing is created under the other root.
  EXPECT_TRUE(registry.Create(HKEY_LOCAL_MACHINE, path));
  ASSERT_TRUE(registry.WriteLong("Value", 5));
  EXPECT_TRUE(stored(path, "Value"));
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, path));
}

TEST_F(WinRegistryTest, CreateWithTheHeldNameTouchesNothing) {
  const std::string path = scratch.below("Created");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, path));
  tsen::testing::deleteTree(HKEY_CURRENT_USER, path);
  EXPECT_TRUE(registry.Create(HKEY_CURRENT_USER, path));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, path));
}

TEST_F(WinRegistryTest, CreateAfterOpenKeyCreatesAgain) {
  const std::string first = scratch.below("First");
  const std::string second = scratch.below("Second");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, first));
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, second, true));
  // OpenKey forgot the created name, so this is a real create of First.
  ASSERT_TRUE(registry.Create(HKEY_CURRENT_USER, first));
  ASSERT_TRUE(registry.WriteString("Value", "here"));
  EXPECT_TRUE(stored(first, "Value"));
  EXPECT_FALSE(stored(second, "Value"));
}

TEST_F(WinRegistryTest, CreateWithEmptyNameOnEmptyAccessorHoldsNothing) {
  TsEnWinRegistry registry;
  EXPECT_TRUE(registry.Create(HKEY_CURRENT_USER, ""));
  EXPECT_FALSE(registry.WriteString("TessalineTestsStray", "x"));
  const bool strayWritten = stored("", "TessalineTestsStray").has_value();
  RegDeleteKeyValueA(HKEY_CURRENT_USER, nullptr, "TessalineTestsStray");
  EXPECT_FALSE(strayWritten);
}

struct StringCase {
  const char* name;
  DWORD type;
  Bytes data;
  std::string expected;
};

class ReadStringTest : public WinRegistryTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(ReadStringTest, ReadsAnyValueUpToItsFirstZero) {
  const StringCase& c = GetParam();
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, scratch.path(), "Value", c.type, c.data));
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), false));
  std::string text = "previous";
  ASSERT_TRUE(registry.ReadString("Value", text));
  EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadStringTest,
    ::testing::Values(
        StringCase{"Terminated", REG_SZ, bytesOf(std::string("Road", 5)), "Road"},
        StringCase{"Unterminated", REG_SZ, bytesOf("Road"), "Road"},
        StringCase{"UnterminatedBinary", REG_BINARY, bytesOf("abcdef"), "abcdef"},
        StringCase{"ZeroBytes", REG_BINARY, {}, ""},
        StringCase{"EmptyString", REG_SZ, bytesOf(std::string(1, '\0')), ""},
        StringCase{"InnerZero", REG_BINARY, bytesOf(std::string("ab\0cd", 5)), "ab"},
        StringCase{"MultiString", REG_MULTI_SZ, bytesOf(std::string("one\0two\0\0", 9)), "one"},
        StringCase{"ExpandableUnexpanded", REG_EXPAND_SZ, bytesOf(std::string("%TEMP%\\x", 9)),
                   "%TEMP%\\x"},
        StringCase{"Integer", REG_DWORD, dwordBytes(0x00434241), "ABC"},
        StringCase{"Long", REG_SZ, bytesOf(std::string(5000, 'z') + '\0'), std::string(5000, 'z')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinRegistryTest, ReadStringOfMissingValueLeavesTextAlone) {
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, scratch.path(), "Other", REG_SZ, bytesOf("x")));
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), false));
  std::string text = "kept";
  EXPECT_FALSE(registry.ReadString("Value", text));
  EXPECT_EQ(text, "kept");
}

struct LongCase {
  const char* name;
  DWORD type;
  Bytes data;
  bool readable;
  TsEnLong expected;
};

class ReadLongTest : public WinRegistryTest, public ::testing::WithParamInterface<LongCase> {};

TEST_P(ReadLongTest, ReadsAtMostFourBytes) {
  const LongCase& c = GetParam();
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, scratch.path(), "Value", c.type, c.data));
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), false));
  TsEnLong number = 0;
  EXPECT_EQ(registry.ReadLong("Value", number), c.readable);
  if (c.readable) {
    EXPECT_EQ(number, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadLongTest,
    ::testing::Values(LongCase{"Dword", REG_DWORD, dwordBytes(1), true, 1},
                      LongCase{"NegativeDword", REG_DWORD, dwordBytes(0xFFFFFFFEu), true, -2},
                      LongCase{"TwoBytesLowestFirst", REG_BINARY, Bytes{0x34, 0x12}, true, 0x1234},
                      LongCase{"DigitStoredAsText", REG_SZ, bytesOf(std::string("1", 2)), true,
                               0x31},
                      LongCase{"Qword", REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, false, 0},
                      LongCase{"LongText", REG_SZ, bytesOf(std::string("12345", 6)), false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinRegistryTest, ReadLongOfMissingValueLeavesNumberAlone) {
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, scratch.path(), "Other", REG_DWORD, dwordBytes(3)));
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), false));
  TsEnLong number = 42;
  EXPECT_FALSE(registry.ReadLong("Value", number));
  EXPECT_EQ(number, 42);
}

TEST_F(WinRegistryTest, WritesStoreTheDocumentedTypesAndBytes) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), true));
  ASSERT_TRUE(registry.WriteLong("Number", -2));
  ASSERT_TRUE(registry.WriteString("Empty", ""));
  ASSERT_TRUE(registry.WriteString("Text", "a b"));

  const auto number = stored(scratch.path(), "Number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number->bytes, dwordBytes(0xFFFFFFFEu));

  const auto empty = stored(scratch.path(), "Empty");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(empty->bytes, Bytes{0});

  const auto text = stored(scratch.path(), "Text");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->bytes, bytesOf(std::string("a b", 4)));
}

TEST_F(WinRegistryTest, WrittenValuesReadBack) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), true));
  ASSERT_TRUE(registry.WriteLong("Number", 123456));
  ASSERT_TRUE(registry.WriteString("Text", "Road"));
  TsEnLong number = 0;
  std::string text;
  ASSERT_TRUE(registry.ReadLong("Number", number));
  ASSERT_TRUE(registry.ReadString("Text", text));
  EXPECT_EQ(number, 123456);
  EXPECT_EQ(text, "Road");
}

TEST_F(WinRegistryTest, CopyConstructedAccessorSharesTheKey) {
  TsEnWinRegistry original;
  TsEnWinRegistry copy(original);
  ASSERT_TRUE(original.OpenKey(HKEY_CURRENT_USER, scratch.below("One"), true));
  ASSERT_TRUE(copy.WriteString("Value", "through copy"));
  ASSERT_TRUE(copy.OpenKey(HKEY_CURRENT_USER, scratch.below("Two"), true));
  ASSERT_TRUE(original.WriteString("Value", "through original"));
  EXPECT_TRUE(stored(scratch.below("One"), "Value"));
  EXPECT_TRUE(stored(scratch.below("Two"), "Value"));
}

TEST_F(WinRegistryTest, AssignedAccessorSharesTheKey) {
  TsEnWinRegistry source;
  TsEnWinRegistry target;
  ASSERT_TRUE(target.OpenKey(HKEY_CURRENT_USER, scratch.below("Old"), true));
  target = source;
  ASSERT_TRUE(source.Create(HKEY_CURRENT_USER, scratch.below("New")));
  ASSERT_TRUE(target.WriteString("Value", "x"));
  EXPECT_TRUE(stored(scratch.below("New"), "Value"));
  EXPECT_FALSE(stored(scratch.below("Old"), "Value"));
}

TEST_F(WinRegistryTest, CopyOutlivesItsSource) {
  std::optional<TsEnWinRegistry> source(std::in_place);
  ASSERT_TRUE(source->OpenKey(HKEY_CURRENT_USER, scratch.path(), true));
  const TsEnWinRegistry copy = *source;
  source.reset();
  TsEnWinRegistry writer = copy;
  EXPECT_TRUE(writer.WriteLong("Value", 9));
  EXPECT_TRUE(stored(scratch.path(), "Value"));
}

TEST_F(WinRegistryTest, SelfAssignmentKeepsTheKey) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(HKEY_CURRENT_USER, scratch.path(), true));
  TsEnWinRegistry& alias = registry;
  registry = alias;
  EXPECT_TRUE(registry.WriteLong("Value", 1));
}

} // namespace
