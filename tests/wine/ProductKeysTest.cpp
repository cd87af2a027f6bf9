// The connection flag, the layout's keys and the current configuration read
// from the real registry, and the sample settings replayed with the system's
// own importer. The tests own the product keys (resource lock
// "tsen_product_keys").
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"
#include "RawRegistry.h"
#include "folders/ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using namespace tsen::testing;

class ProductKeysTest : public ::testing::Test {
protected:
  ProductKeysGuard guard;
};

// Only a 32-bit 1 selects the 19.01 layout, however else the registry
// holds a 1.
TEST_F(ProductKeysTest, OnlyADwordOneChoosesTheNewLayout) {
  const struct {
    const char* name;
    DWORD type; // nothing planted for REG_NONE
    Bytes data;
    bool on;
  } cases[] = {
      {"no flag", REG_NONE, {}, false},
      {"dword 1", REG_DWORD, dwordBytes(1), true},
      {"text 1", REG_SZ, bytesOf(std::string("1", 2)), false},
      {"qword 1", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
    if (c.type != REG_NONE) {
      ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, c.type, c.data));
    }
    const std::string root = c.on ? kRoot1901 : kRoot1840;
    EXPECT_EQ(TsEnQVRConnect(), c.on) << c.name;
    EXPECT_EQ(TsEnGetRegistryKey(), root) << c.name;
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), root + "\\Kernel Services") << c.name;
    EXPECT_EQ(TsEnBuildRegKey("Tessaline modules"), root + "\\Tessaline modules") << c.name;
  }
}

TEST_F(ProductKeysTest, ConfigurationComesFromTheLayoutInForceAtEachCall) {
  EXPECT_EQ(TsEnGetCurrentConfig(), "");
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", " Road Works\\2 "));
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1901, "Current Config", "Rail"));
  EXPECT_EQ(TsEnGetCurrentConfig(), " Road Works\\2 ");
  ASSERT_TRUE(setFlag(1));
  EXPECT_EQ(TsEnGetCurrentConfig(), "Rail");
  deleteTree(HKEY_CURRENT_USER, kFlagKey);
  EXPECT_EQ(TsEnGetCurrentConfig(), " Road Works\\2 ");
}

// The sample settings, the same .reg file the host build reads as its
// registry, replayed with the system's own importer: what support receives
// from a user on either build can be replayed on the other.
TEST_F(ProductKeysTest, SettingsFileImportsWithTheSystemsImporter) {
  std::string file = TSEN_SAMPLE_SETTINGS;
  for (char& c : file) {
    c = c == '/' ? '\\' : c;
  }
  EXPECT_EQ(exitCodeOf(startProcess("regedit.exe /S \"Z:" + file + "\"")), 0u);

  EXPECT_TRUE(TsEnQVRConnect());
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  EXPECT_EQ(TsEnGetLanguageCode(), "NOR");
  EXPECT_EQ(getActiveTessalineDomain(), "ROAD");
  EXPECT_EQ(getLastTessalineCommand(), "RoadAlign");
}

} // namespace
