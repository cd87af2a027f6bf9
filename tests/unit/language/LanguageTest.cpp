// The language code, kept once read, and its identifier, name and country.
#include "support/FakeSystemTest.h"

namespace tsen::testing {
namespace {

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
  fake::resetCalls();
  if (expected.empty()) {
    EXPECT_EQ(TsEnGetLanguageCode(), "ITA"); // nothing was kept
    return;
  }
  // A kept code outlives new values and layout switches.
  setLayout19(!layout19);
  EXPECT_EQ(TsEnGetLanguageCode(), expected);
  (void)TsEnGetLanguageCountry();
  EXPECT_EQ(fake::calls().regOpenKey + fake::calls().regQueryValue, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LanguageCodeTest,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(StoredCode{"nOr", "nOr"}, StoredCode{"NOR\\\\", "NOR\\"},
                                         StoredCode{"\\", ""}, StoredCode{"", ""})));

struct LanguageRow {
  std::optional<std::string> stored;
  unsigned int id;
  std::string name;
  std::string country;
};

class LanguageTableTest : public FakeSystemTest,
                          public ::testing::WithParamInterface<LanguageRow> {};

TEST_P(LanguageTableTest, MapsTheStoredCode) {
  const LanguageRow& row = GetParam();
  fake::createKey(kHKCU, kKernel1840);
  if (row.stored) {
    fake::setString(kHKCU, kKernel1840, "Language", *row.stored);
  }
  EXPECT_EQ(TsEnGetLanguageCodeID(), row.id);
  EXPECT_EQ(TsEnGetLanguageName(), row.name);
  EXPECT_EQ(TsEnGetLanguageCountry(), row.country);
  EXPECT_EQ(TsEnGetLanguageCode(), row.stored.value_or(""));
}

const LanguageRow kRows[] = {
    {"NLB", 2067, "Dutch", "Belgium"},          {"SVE", 1053, "Swedish", "Sweden"},
    {"sWe", 1053, "Swedish", "Sweden"},         {"VIT", 1066, "Vietnamese", "Vietnam"},
    {" NOR", 2057, "English", "England"},       {"NORW", 2057, "English", "England"},
    {std::nullopt, 2057, "English", "England"},
};
INSTANTIATE_TEST_SUITE_P(Rows, LanguageTableTest, ::testing::ValuesIn(kRows));

} // namespace
} // namespace tsen::testing
