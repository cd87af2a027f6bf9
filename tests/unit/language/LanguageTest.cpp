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
  // Neither a new value nor a layout switch reaches a kept code, and the
  // table answers from it without the registry.
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
  friend void PrintTo(const LanguageRow& row, std::ostream* out) {
    *out << row.stored.value_or("-");
  }
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
  // The code itself is handed out as stored, known to the table or not.
  EXPECT_EQ(TsEnGetLanguageCode(), row.stored.value_or(""));
}

const LanguageRow kRows[] = {
    {"DAN", 1030, "Danish", "Denmark"},         {"NLB", 2067, "Dutch", "Belgium"},
    {"NLD", 1043, "Dutch", "Netherlands"},      {"FIN", 1035, "Finnish", "Finland"},
    {"FRA", 1036, "French", "France"},          {"ITA", 1040, "Italian", "Italy"},
    {"KOR", 1042, "Korean", "Korea"},           {"MSL", 1086, "Malay", "Malaysia"},
    {"NOR", 1044, "Norwegian", "Norway"},       {"ESP", 1034, "Spanish", "Spain"},
    {"SVE", 1053, "Swedish", "Sweden"},         {"SWE", 1053, "Swedish", "Sweden"},
    {"THA", 1054, "Thai", "Thailand"},          {"VIT", 1066, "Vietnamese", "Vietnam"},
    {"sWe", 1053, "Swedish", "Sweden"},         {" NOR", 2057, "English", "England"},
    {"NO", 2057, "English", "England"},         {"NORW", 2057, "English", "England"},
    {std::nullopt, 2057, "English", "England"},
};
INSTANTIATE_TEST_SUITE_P(Rows, LanguageTableTest, ::testing::ValuesIn(kRows));

} // namespace
} // namespace tsen::testing
