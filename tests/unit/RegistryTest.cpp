// The registry accessor, the two layouts' product keys, and the language code and its names.
#include "FakeSystemTest.h"

namespace tsen::testing {
namespace {

using RegistryTest = FakeSystemTest;

TEST_F(RegistryTest, AccessorHoldsTheKeyAsOpenedOrCreatedAndWithoutOneFails) {
  const std::string key = "Software\\TsEnTests\\Accessor";
  TsEnWinRegistry registry;
  fake::setString(kHKCU, "Software\\A", "Other", "");
  ASSERT_TRUE(registry.OpenKey(kHKCU, "Software\\A", false));
  EXPECT_FALSE(registry.OpenKey(kHKCU, key, false)); // letting go of the key it held
  EXPECT_EQ(fake::openHandles(), 0);
  TsEnLong number = 7;
  std::string text = "untouched";
  EXPECT_FALSE(registry.ReadLong("x", number) || registry.ReadString("x", text) ||
               registry.WriteLong("x", 1) || registry.WriteString("x", "y"));
  EXPECT_EQ(text + std::to_string(number), "untouched7");
  // Held as opened, not as created: Create of the same name really creates.
  ASSERT_TRUE(registry.OpenKey(kHKCU, key, true));
  EXPECT_TRUE(registry.Create(kHKLM, key));
  EXPECT_TRUE(fake::keyExists(kHKLM, key));
  // Now held as created: under any root only the name counts.
  EXPECT_TRUE(registry.Create(kHKCU, "Software\\Created") &&
              registry.Create(kHKLM, "Software\\Created"));
  EXPECT_FALSE(fake::keyExists(kHKLM, "Software\\Created"));
}

// Only the user's flag counts, read as a number of at most four bytes (the
// machine's row has no user key).
TEST_F(RegistryTest, ConnectionFlagChoosesTheLayout) {
  const struct {
    HKEY root;
    fake::RegistryValue flag;
    bool layout19;
  } cases[] = {
      {kHKCU, {platform::kRegDword, std::string("\2\0\0\0", 4)}, false},
      {kHKCU, {platform::kRegSz, std::string("1\0", 2)}, false},
      {kHKCU, {platform::kRegBinary, "\1"}, true},
      {kHKLM, {platform::kRegDword, std::string("\1\0\0\0", 4)}, false},
  };
  for (const auto& c : cases) {
    fake::reset();
    fake::setValue(c.root, kQvrKey, "qvrconnect", c.flag);
    const std::string root = c.layout19 ? "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora"
                                        : "SOFTWARE\\Quarzel\\Tessaline\\18.40";
    EXPECT_EQ(TsEnQVRConnect(), c.layout19) << c.flag.type;
    EXPECT_EQ(TsEnGetRegistryKey() + "|" + TsEnGetRegKeyKernelServices(),
              root + "|" + root + "\\Kernel Services");
    EXPECT_EQ(TsEnBuildRegKey("\\x"), root + "\\\\x");
  }
}

struct LanguageRow {
  bool layout19;
  std::string stored, code; // the code read first
  unsigned id;
  std::string nameAndCountry; // of the code in the end
};

class LanguageTest : public FakeSystemTest, public ::testing::WithParamInterface<LanguageRow> {};

// From the layout in force, one trailing backslash dropped; a code is kept
// once found, through new values and layout switches, an empty one never.
TEST_P(LanguageTest, CodeIsReadFromTheLayoutAndKeptOnceNonEmpty) {
  const LanguageRow& row = GetParam();
  setLayout19(row.layout19);
  fake::setString(kHKCU, kernelKey(!row.layout19), "Language", "DAN");
  fake::setString(kHKCU, kernelKey(row.layout19), "Language", row.stored);
  EXPECT_EQ(TsEnGetLanguageCode(), row.code);
  fake::setString(kHKCU, kernelKey(row.layout19), "Language", "ITA");
  if (!row.code.empty()) {
    setLayout19(!row.layout19);
  }
  EXPECT_EQ(TsEnGetLanguageCode(), row.code.empty() ? "ITA" : row.code);
  EXPECT_EQ(TsEnGetLanguageCodeID(), row.id);
  EXPECT_EQ(TsEnGetLanguageName() + " " + TsEnGetLanguageCountry(), row.nameAndCountry);
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguageTest,
                         ::testing::Values(LanguageRow{true, "sWe", "sWe", 1053, "Swedish Sweden"},
                                           LanguageRow{false, "NOR\\\\", "NOR\\", 2057,
                                                       "English England"},
                                           LanguageRow{true, "\\", "", 1040, "Italian Italy"}));

} // namespace
} // namespace tsen::testing
