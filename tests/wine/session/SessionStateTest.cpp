// The active domain and the last command in the real registry: the modules
// key of the layout in force, created by the first write.
#include "TsEnvironment.h"

#include "LogFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tsen::testing;

std::string modulesKeyOf(const Layout& layout) {
  return std::string(layout.root) + "\\Tessaline modules";
}

std::optional<RawValue> storedValue(const Layout& layout, const char* name) {
  return readRaw(HKEY_CURRENT_USER, modulesKeyOf(layout), name);
}

class SessionStateTest : public ::testing::TestWithParam<Layout> {
protected:
  ProductKeysGuard guard;
};

TEST_P(SessionStateTest, FirstWriteCreatesTheModulesKeyOfTheLayout) {
  const Layout& layout = GetParam();
  const Layout& other = layout.flag ? kLayout1840 : kLayout1901;
  ASSERT_TRUE(select(layout));
  // Whatever is stored last is logged; the log stays in this test's folder.
  const LogFolder log(layout);
  EXPECT_EQ(getActiveTessalineDomain(), "");
  EXPECT_EQ(getLastTessalineCommand(), "");
  EXPECT_FALSE(setActiveTessalineDomain(""));
  EXPECT_FALSE(setLastTessalineCommand(""));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, modulesKeyOf(layout)));

  ASSERT_TRUE(setLastTessalineCommand("Draw", "Road"));
  const auto domain = storedValue(layout, "ActiveDomainKey");
  const auto command = storedValue(layout, "LastCommand");
  ASSERT_TRUE(domain && command);
  EXPECT_EQ(domain->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(domain->bytes, bytesOf(std::string("Road", 5)));
  EXPECT_EQ(command->bytes, bytesOf(std::string("Draw", 5)));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, modulesKeyOf(other)));
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
  EXPECT_EQ(getLastTessalineCommand(), "Draw");
}

INSTANTIATE_TEST_SUITE_P(Layouts, SessionStateTest, ::testing::Values(kLayout1840, kLayout1901),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SessionLayoutSwitchTest, EachLayoutKeepsItsOwnState) {
  const ProductKeysGuard guard;
  ASSERT_TRUE(setActiveTessalineDomain("Road"));
  ASSERT_TRUE(select(kLayout1901));
  EXPECT_EQ(getActiveTessalineDomain(), "");
  ASSERT_TRUE(setActiveTessalineDomain("Rail"));
  ASSERT_TRUE(select(kLayout1840));
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
  ASSERT_TRUE(select(kLayout1901));
  EXPECT_EQ(getActiveTessalineDomain(), "Rail");
}

TEST(SessionRefusedDomainTest, StoresAndLogsNothing) {
  const ProductKeysGuard guard;
  const LogFolder log(kLayout1840);
  ASSERT_TRUE(setActiveTessalineDomain("Road"));
  EXPECT_FALSE(setLastTessalineCommand("Draw", ""));
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
  EXPECT_EQ(getLastTessalineCommand(), "");
  EXPECT_FALSE(std::filesystem::exists(log.logFile()));
}

} // namespace
