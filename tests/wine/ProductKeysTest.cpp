// The connection flag and the sample settings in the real registry.
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"
#include "folders/ChildProcess.h"

#include <algorithm>
#include <string>

namespace {

using namespace tsen::testing;

// Only a 32-bit 1 selects the 19.01 layout, however else a 1 is stored.
TEST(ProductKeysTest, OnlyADwordOneChoosesTheNewLayout) {
  const ProductKeysGuard guard;
  const struct {
    DWORD type; // nothing planted for REG_NONE
    Bytes data;
    const char* root;
  } cases[] = {
      {REG_NONE, {}, kRoot1840},
      {REG_DWORD, dwordBytes(1), kRoot1901},
      {REG_SZ, bytesOf(std::string("1", 2)), kRoot1840},
      {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, kRoot1840},
  };
  for (const auto& c : cases) {
    deleteTree(HKEY_CURRENT_USER, kSuiteKey);
    if (c.type != REG_NONE) {
      ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, c.type, c.data));
    }
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), c.root + std::string("\\Kernel Services")) << c.type;
  }
}

// What a user sends in from the host build replays here.
TEST(ProductKeysTest, SettingsFileImportsWithTheSystemsImporter) {
  const ProductKeysGuard guard;
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
