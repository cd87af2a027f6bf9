// The connection flag, the product key paths and the current configuration,
// read from the real registry. The tests own the product keys (resource
// lock "tsen_product_keys").
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"
#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace {

using namespace tsen::testing;

class ProductKeysTest : public ::testing::Test {
protected:
  static bool setConfig(const char* kernelKey, std::string_view name) {
    return writeRaw(HKEY_CURRENT_USER, kernelKey, "Current Config", REG_SZ,
                    bytesOf(std::string(name) + '\0'));
  }
  ProductKeysGuard guard;
};

struct FlagCase {
  const char* name;
  // Plants the flag; absent means no flag key at all.
  std::function<bool()> plant;
  bool on;
};

class FlagTest : public ProductKeysTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTest, FlagChoosesTheLayout) {
  const FlagCase& c = GetParam();
  if (c.plant) {
    ASSERT_TRUE(c.plant());
  }
  EXPECT_EQ(TsEnQVRConnect(), c.on);
  EXPECT_EQ(TsEnGetRegistryKey(), c.on ? kRoot1901 : kRoot1840);
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), c.on ? kKernel1901 : kKernel1840);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FlagTest,
    ::testing::Values(FlagCase{"NoKey", nullptr, false},
                      FlagCase{"KeyWithoutValue",
                               [] { return createRaw(HKEY_CURRENT_USER, kFlagKey) != nullptr; },
                               false},
                      FlagCase{"Zero", [] { return setFlag(0); }, false},
                      FlagCase{"One", [] { return setFlag(1); }, true},
                      FlagCase{"Two", [] { return setFlag(2); }, false},
                      FlagCase{"OneWithHighBits", [] { return setFlag(0x10001); }, false},
                      FlagCase{"DigitOneAsText",
                               [] {
                                 return writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_SZ,
                                                 bytesOf(std::string("1", 2)));
                               },
                               false},
                      FlagCase{"OneAsQword",
                               [] {
                                 return writeRaw(HKEY_CURRENT_USER, kFlagKey, kFlagValue, REG_QWORD,
                                                 Bytes{1, 0, 0, 0, 0, 0, 0, 0});
                               },
                               false},
                      FlagCase{"ValueInAnotherKey",
                               [] {
                                 return writeRaw(HKEY_CURRENT_USER, kSuiteKey, kFlagValue,
                                                 REG_DWORD, dwordBytes(1));
                               },
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProductKeysTest, FlagIsReadAfreshOnEveryCall) {
  ASSERT_TRUE(setFlag(0));
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1840);
  ASSERT_TRUE(setFlag(1));
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1901);
  deleteTree(HKEY_CURRENT_USER, kFlagKey);
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1840);
}

struct BuildCase {
  const char* name;
  bool on;
  std::string subKey;
  std::string expected;
};

class BuildRegKeyTest : public ProductKeysTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuildRegKeyTest, PutsTheRootAndOneBackslashInFront) {
  const BuildCase& c = GetParam();
  if (c.on) {
    ASSERT_TRUE(setFlag(1));
  }
  EXPECT_EQ(TsEnBuildRegKey(c.subKey), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    SubKeys, BuildRegKeyTest,
    ::testing::Values(BuildCase{"Word1840", false, "Tessaline modules",
                                "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules"},
                      BuildCase{"Word1901", true, "Tessaline modules",
                                "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules"},
                      BuildCase{"Empty1840", false, "", "SOFTWARE\\Quarzel\\Tessaline\\18.40\\"},
                      BuildCase{"Empty1901", true, "",
                                "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\"},
                      BuildCase{"LeadingBackslashKept", false, "\\Lead",
                                "SOFTWARE\\Quarzel\\Tessaline\\18.40\\\\Lead"},
                      BuildCase{"PathUnchanged", true, "a\\b\\",
                                "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\a\\b\\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProductKeysTest, NoKernelServicesKeyMeansNoConfiguration) {
  EXPECT_EQ(TsEnGetCurrentConfig(), "");
}

TEST_F(ProductKeysTest, MissingOrEmptyConfigurationValueIsEmpty) {
  ASSERT_TRUE(writeRaw(HKEY_CURRENT_USER, kKernel1840, "Language", REG_SZ, bytesOf("NOR")));
  EXPECT_EQ(TsEnGetCurrentConfig(), "");
  ASSERT_TRUE(setConfig(kKernel1840, ""));
  EXPECT_EQ(TsEnGetCurrentConfig(), "");
}

TEST_F(ProductKeysTest, ConfigurationComesFromTheLayoutInForce) {
  ASSERT_TRUE(setConfig(kKernel1840, "Road"));
  ASSERT_TRUE(setConfig(kKernel1901, "Rail"));
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  ASSERT_TRUE(setFlag(1));
  EXPECT_EQ(TsEnGetCurrentConfig(), "Rail");
  ASSERT_TRUE(setFlag(0));
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
}

TEST_F(ProductKeysTest, ConfigurationIsUsedAsStored) {
  ASSERT_TRUE(setConfig(kKernel1840, " Road Works\\2 "));
  EXPECT_EQ(TsEnGetCurrentConfig(), " Road Works\\2 ");
}

TEST_F(ProductKeysTest, ConfigurationOfTheOtherLayoutIsNotUsed) {
  ASSERT_TRUE(setConfig(kKernel1901, "Rail"));
  EXPECT_EQ(TsEnGetCurrentConfig(), "");
}

// The sample settings, the same .reg file the host build reads as its
// registry, replayed with the system's own importer: what support receives
// from a user on either build can be replayed on the other.
TEST_F(ProductKeysTest, SettingsFileImportsWithTheSystemsImporter) {
  std::string file = TSEN_SAMPLE_SETTINGS;
  for (char& c : file) {
    c = c == '/' ? '\\' : c;
  }
  std::string command = "regedit.exe /S \"Z:" + file + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_TRUE(TsEnQVRConnect());
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  EXPECT_EQ(TsEnGetLanguageCode(), "NOR");
  EXPECT_EQ(getActiveTessalineDomain(), "ROAD");
  EXPECT_EQ(getLastTessalineCommand(), "RoadAlign");
}

} // namespace
