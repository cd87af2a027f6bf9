// The connection flag and the layout's keys in the real registry, and the
// sample settings replayed with the system's own importer.
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"
#include "folders/ChildProcess.h"

#include <algorithm>
#include <string>

namespace {

using namespace tsen::testing;

class ProductKeysTest : public ::testing::Test {
protected:
  ProductKeysGuard guard;
};

// Only a 32-bit 1 selects the 19.01 layout, however else a 1 is stored.
TEST_F(ProductKeysTest, OnlyADwordOneChoosesTheNewLayout) {
  const struct {
    DWORD type; // nothing planted for REG_NONE
    Bytes data;
    bool on;
  } cases[] = {
      {REG_NONE, {}, false},
      {REG_DWORD, dwordBytes(1), true},
      {REG_SZ, bytesOf(std::string("1", 2)), false},
      {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
    if (c.type != REG_NONE) {
      ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, c.type, c.data));
    }
    const std::string root = c.on ? kRoot1901 : kRoot1840;
    EXPECT_EQ(TsEnQVRConnect(), c.on) << c.type;
    EXPECT_EQ(TsEnGetRegistryKey(), root) << c.type;
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), root + "\\Kernel Services") << c.type;
    EXPECT_EQ(TsEnBuildRegKey("Tessaline modules"), root + "\\Tessaline modules") << c.type;
  }
}

// The .reg file the host build reads as its registry: what a user sends in
// from either build replays on the other.
TEST_F(ProductKeysTest, SettingsFileImportsWithTheSystemsImporter) {
  std::string file = TSEN_SAMPLE_SETTINGS;
  std::replace(file.begin(), file.end(), '/', '\\');
  EXPECT_EQ(exitCodeOf(startProcess("regedit.exe /S \"Z:" + file + "\"")), 0u);
  EXPECT_TRUE(TsEnQVRConnect());
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  EXPECT_EQ(TsEnGetLanguageCode(), "NOR");
  EXPECT_EQ(getActiveTessalineDomain(), "ROAD");
  EXPECT_EQ(getLastTessalineCommand(), "RoadAlign");
}

} // namespace
