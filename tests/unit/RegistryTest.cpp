// The registry accessor, the product keys of the two layouts, and the
// language code, kept once read, with its identifier, name and country.
#include "FakeSystemTest.h"

namespace tsen::testing {
namespace {

constexpr std::string_view kKey = "Software\\TsEnTests\\Accessor";
constexpr const char* kRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
constexpr const char* kRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";

fake::RegistryValue bytes(std::uint32_t type, std::string_view data) {
  return {type, std::string(data)};
}

using RegistryTest = FakeSystemTest;

TEST_F(RegistryTest, AccessorWithoutKeyFailsAndLeavesOutputsAlone) {
  TsEnWinRegistry registry;
  fake::createKey(kHKCU, "Software\\A");
  ASSERT_TRUE(registry.OpenKey(kHKCU, "Software\\A", false));
  EXPECT_FALSE(registry.OpenKey(kHKCU, "Software\\Missing", false));
  EXPECT_EQ(fake::openHandles(), 0);
  TsEnLong number = 7;
  std::string text = "untouched";
  EXPECT_FALSE(registry.ReadLong("x", number) || registry.ReadString("x", text) ||
               registry.WriteLong("x", 1) || registry.WriteString("x", "y"));
  EXPECT_EQ(text + std::to_string(number), "untouched7");
}

TEST_F(RegistryTest, OpenKeyCreatesOnlyWhenAskedAndCreateOfTheHeldNameTouchesNothing) {
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kHKCU, std::string(kKey), false));
  EXPECT_FALSE(fake::keyExists(kHKCU, "Software\\TsEnTests"));
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  ASSERT_TRUE(registry.WriteString("Name", "Road"));
  EXPECT_EQ(fake::stringValue(kHKCU, kKey, "name"), "Road");
  // Held as opened, not as created: Create of the same name really creates.
  fake::resetCalls();
  EXPECT_TRUE(registry.Create(kHKCU, std::string(kKey)));
  EXPECT_EQ(fake::calls().regCreateKey, 1);
  // Now held as created: under any root only the name counts.
  fake::resetCalls();
  EXPECT_TRUE(registry.Create(kHKLM, std::string(kKey)));
  const fake::CallCounts calls = fake::calls();
  EXPECT_EQ(calls.regCreateKey + calls.regOpenKey + calls.regCloseKey, 0);
  EXPECT_FALSE(fake::keyExists(kHKLM, kKey));
}

TEST_F(RegistryTest, ConnectionFlagChoosesTheLayout) {
  const struct {
    HKEY root;
    std::optional<fake::RegistryValue> flag; // nothing: the key without the value
    bool layout19;
  } cases[] = {
      {kHKCU, bytes(platform::kRegDword, std::string("\2\0\0\0", 4)), false},
      {kHKCU, bytes(platform::kRegDword, std::string("\1\0\0\0", 4)), true},
      {kHKCU, bytes(platform::kRegSz, std::string("1\0", 2)), false},
      {kHKCU, bytes(platform::kRegBinary, "\1"), true},
      {kHKCU, std::nullopt, false},
      {kHKLM, bytes(platform::kRegDword, std::string("\1\0\0\0", 4)), false},
  };
  EXPECT_FALSE(TsEnQVRConnect()) << "no key";
  for (const auto& c : cases) {
    fake::reset();
    fake::createKey(c.root, kQvrKey);
    if (c.flag) {
      fake::setValue(c.root, kQvrKey, "qvrconnect", *c.flag);
    }
    const std::string root = c.layout19 ? kRoot1901 : kRoot1840;
    EXPECT_EQ(TsEnQVRConnect(), c.layout19) << c.flag.value_or(fake::RegistryValue{}).type;
    EXPECT_EQ(TsEnGetRegistryKey(), root);
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), root + "\\Kernel Services");
    EXPECT_EQ(TsEnBuildRegKey("\\x"), root + "\\\\x");
  }
}

using StoredCode = std::pair<std::string, std::string>; // stored, answered

class LanguageCodeTest : public FakeSystemTest,
                         public ::testing::WithParamInterface<std::tuple<bool, StoredCode>> {};

TEST_P(LanguageCodeTest, ReadFromTheLayoutAndKeptOnceNonEmpty) {
  const auto& [layout19, row] = GetParam();
  const auto& [stored, expected] = row;
  setLayout19(layout19);
  fake::setString(kHKCU, kernelKey(!layout19), "Language", "DAN");
  fake::setString(kHKCU, kernelKey(layout19), "Language", stored);
  EXPECT_EQ(TsEnGetLanguageCode(), expected);
  fake::setString(kHKCU, kernelKey(layout19), "Language", "ITA");
  // A kept code outlives new values and layout switches; none is kept when empty.
  if (!expected.empty()) {
    setLayout19(!layout19);
  }
  fake::resetCalls();
  EXPECT_EQ(TsEnGetLanguageCode(), expected.empty() ? "ITA" : expected);
  EXPECT_EQ(fake::calls().regQueryValue == 0, !expected.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LanguageCodeTest,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(StoredCode{"nOr", "nOr"}, StoredCode{"NOR\\\\", "NOR\\"},
                                         StoredCode{"\\", ""}, StoredCode{"", ""})));

struct LanguageRow {
  std::optional<std::string> stored; // nothing: no "Language" value
  unsigned int id;
  std::string nameAndCountry;
};

class LanguageTableTest : public FakeSystemTest,
                          public ::testing::WithParamInterface<LanguageRow> {};

TEST_P(LanguageTableTest, IdNameAndCountryFollowTheStoredCode) {
  const LanguageRow& row = GetParam();
  fake::createKey(kHKCU, kKernel1840);
  if (row.stored) {
    fake::setString(kHKCU, kKernel1840, "Language", *row.stored);
  }
  EXPECT_EQ(TsEnGetLanguageCodeID(), row.id);
  EXPECT_EQ(TsEnGetLanguageName() + " " + TsEnGetLanguageCountry(), row.nameAndCountry);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, LanguageTableTest, ::testing::Values(
    LanguageRow{"NLB", 2067, "Dutch Belgium"}, LanguageRow{"sWe", 1053, "Swedish Sweden"},
    LanguageRow{" NOR", 2057, "English England"}, LanguageRow{std::nullopt, 2057, "English England"}));
// clang-format on

} // namespace
} // namespace tsen::testing
